// Reading a console dump as lines without copying it: CR, LF and CR LF each
// end a line, a last line without an ending is a line too, a NUL ends the text.
// The dump is looked at 64 bytes at a time, with vector instructions where the
// processor has them, so that no byte-by-byte loop runs over the whole dump.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmora {

// A dump's text (its bytes up to the first NUL) and its number of lines.
struct TDumpText {
    std::string_view Text;
    std::size_t Lines = 0;
};

// Finds the text and counts its lines in one pass over the bytes.
TDumpText ScanDump(std::string_view bytes);

// Hands out the lines of a dump text one by one, as views into the text.
class TDumpLineReader {
public:
    explicit TDumpLineReader(std::string_view text);
    // False when no line is left. Inline: it runs once per dump line.
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
        line = std::string_view(FText.data() + FPos, end - FPos);
        FPos = end + 1;
        if (end + 1 < size && FText[end] == '\r' && FText[end + 1] == '\n')
            ++FPos;
        return true;
    }

private:
    // Moves to the next block of 64 bytes; false past the text's end.
    bool NextBlock();

    std::string_view FText;
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
