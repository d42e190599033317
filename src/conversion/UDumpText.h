// Reading a console dump as lines without copying it: CR, LF and CR LF each
// end a line, a last line without an ending is a line too, a NUL ends the text.
// The dump may come in blocks: lines are counted and split across their edges.
// The dump is looked at 64 bytes at a time, with vector instructions where the
// processor has them, so that no byte-by-byte loop runs over the whole dump.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmora {

// Counts the lines of a dump given block by block: the same lines that
// TDumpLineReader hands out, up to the first NUL.
class TLineCounter {
public:
    // Counts the lines in the next bytes of the dump; false once a NUL has
    // ended the text (in these bytes or before).
    bool Add(std::string_view bytes);
    std::size_t Lines() const { return FEnds + FLastLineOpen; }
    // The bytes of text so far: those before the first NUL.
    std::uint64_t TextSize() const { return FTextSize; }

private:
    std::size_t FEnds = 0;
    std::uint64_t FTextSize = 0;
    bool FCrBefore = false;     // the text so far ends with a CR
    bool FLastLineOpen = false; // the text so far ends inside a line
    bool FEnded = false;        // a NUL was found
};

// Hands out the lines of a dump text one by one, as views into the text.
// The text may be the front part of a longer one (final false): a line is
// then handed out only once its ending is in the text, a CR only with the
// byte after it, and Continue goes on in the text with more bytes behind.
class TDumpLineReader {
public:
    explicit TDumpLineReader(std::string_view text, bool final = true);
    // False when no line is left, or, in a text that is not final, when the
    // next line's end is not in the text yet. Inline: it runs once per line.
    bool Next(std::string_view& line)
    {
        const std::size_t size = FText.size();
        if (FPos >= size)
            return false;
        std::size_t end = size; // the last line may have no ending
        for (;;) {
            if (FEnds == 0) {
                if (!NextBlock())
                    break;
                continue;
            }
            const std::size_t at = FBlock + static_cast<std::size_t>(std::countr_zero(FEnds));
            FEnds &= FEnds - 1;
            if (at >= FPos) { // an LF behind is the second half of a CR LF already passed
                end = at;
                break;
            }
        }
        const std::size_t next = end + 1;
        if (next < size) {
            line = std::string_view(FText.data() + FPos, end - FPos);
            FPos = next + (FText[end] == '\r' && FText[next] == '\n');
            return true;
        }
        if (!FFinal && (end == size || FText[end] == '\r'))
            return false; // the line, or its CR LF, may go on past the text
        line = std::string_view(FText.data() + FPos, end - FPos);
        FPos = next;
        return true;
    }
    // Where the lines not yet handed out start.
    std::size_t Pos() const { return FPos; }
    // Goes on in text, which holds this reader's text from byte `dropped`
    // on, followed by more; the next line starts at Pos() - dropped.
    void Continue(std::string_view text, std::size_t dropped, bool final);

private:
    // Moves to the next block of 64 bytes; false past the text's end.
    bool NextBlock();

    std::string_view FText;
    bool FFinal;
    std::size_t FPos = 0;    // where the next line starts
    std::size_t FBlock = 0;  // the block whose line ends are in FEnds
    std::uint64_t FEnds = 0; // one bit per CR or LF of that block not yet passed
};

// Where two given bytes stand among the first 64 bytes of a text: bit k of
// the first mask is set when text[k] is a, of the second when it is b.
// Neither byte may be NUL.
std::array<std::uint64_t, 2> ByteBits(std::string_view text, char a, char b);

// Finds the first of a few given bytes in a text, 16 bytes at a time where
// the processor can.
class TByteFinder {
public:
    static constexpr std::size_t MaxBytes = 5;
    // bytes: one to MaxBytes bytes to look for.
    explicit TByteFinder(std::string_view bytes);
    // The position of the first of the bytes at or after from, or the text's size.
    std::size_t Find(std::string_view text, std::size_t from) const;

private:
    // Each byte 16 times over, for 16-byte compares; unused places repeat
    // the first byte.
    alignas(16) char FWanted[MaxBytes][16];
    bool FIsOne[256] = {};
};

} // namespace velmora
