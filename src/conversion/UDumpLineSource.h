// The lines of a dump as a page writes them, read from the file in blocks so
// that memory does not grow with the dump: broken lines joined, the file bar
// of the window stepped, window messages let through every few lines, and a
// stop of the run noticed. Every page style writes its lines from here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "conversion/UDumpText.h"
#include "platform/UControls.h"
#include "platform/UDialogs.h"
#include "platform/UFileBlocks.h"

namespace velmora {

// What the line loop reports to the window and learns from it.
struct TPageProgress {
    IProgressBar* Bar = nullptr;      // not owned; the "Current File" bar, may be null
    TProcessMessages ProcessMessages; // may be empty
    const bool* Running = nullptr;    // not owned; the run's running flag, which a stop clears; null: never stopped
    // The page position of the first dump line: the page items in front of
    // it. The bar counts page positions, and messages are let through at
    // positions that are multiples of the pacing interval.
    std::size_t FirstPosition = 0;
};

// One line of the page: a dump line, or a broken line (First) with the line
// joined to it (Second). The views last until the next call of the source.
struct TDumpLine {
    std::string_view First;
    std::string_view Second;
    std::size_t Number = 0; // of First in the dump, counting from 1
};

class TDumpLineSource {
public:
    // Lines longer than this are the first half of a line the console wrapped.
    static constexpr std::size_t WrapWidth = 76;

    // brokenLines: a line longer than WrapWidth takes in the next one.
    // blockSize: how much of the dump is read at a time.
    TDumpLineSource(TPageProgress progress, bool brokenLines, std::size_t blockSize);

    // Opens the dump and, when there is a file bar or countLines asks for it,
    // counts its lines in a first pass over the file; then sets the file bar
    // to 0 with the page's last position as its maximum. Without a count the
    // dump is read once, and messages are let through every 20 lines.
    // False when the dump cannot be read.
    bool Open(const std::string& path, bool countLines = true);
    // The dump's lines and the bytes of its text (up to a NUL), as counted
    // by Open; 0 when they were not counted.
    std::size_t Lines() const { return FLines; }
    std::uint64_t TextBytes() const { return FTextBytes; }

    // The next page line; false at the end of the dump, or once the run is
    // stopped (the line at whose pacing point the stop arrived is still
    // handed out). Each line handed out steps the file bar once the next call
    // comes.
    bool Next(TDumpLine& line)
    {
        if (FStepPending) {
            FStepPending = false;
            FProgress.Bar->StepIt();
        }
        if (!*FProgress.Running || !TakeLine(line.First, nullptr))
            return false;
        line.Number = FNumber++;
        line.Second = {};
        const bool joined = FBrokenLines && line.First.size() > WrapWidth && TakeLine(line.Second, &line.First);
        FNumber += joined;
        if (--FUntilPump == 0)
            Pump();
        if (joined)
            LowerBarMax();
        FStepPending = FProgress.Bar != nullptr;
        return true;
    }
    // True once the run has been stopped.
    bool Stopped() const { return !*FProgress.Running; }
    // After a stop: the dump lines that Next did not hand out, one by one,
    // as read: no joining, no steps, no messages.
    bool NextAsRead(TDumpLine& line)
    {
        line.Second = {};
        line.Number = FNumber;
        if (!TakeLine(line.First, nullptr))
            return false;
        ++FNumber;
        return true;
    }
    // True when reading the dump failed part way; the page is then not whole.
    bool ReadFailed() const { return FFile.Failed(); }
    // The file bar back to 0, once the page is written.
    void Finish();
    // Every byte read from the dump, both passes included.
    std::uint64_t BytesRead() const { return FFile.BytesRead(); }

private:
    // The next dump line; keep, when given, is a line handed out before,
    // which stays valid (the window's bytes may move under it).
    bool TakeLine(std::string_view& line, std::string_view* keep)
    {
        return FReader.Next(line) || TakeLineAfterRefill(line, keep);
    }
    bool TakeLineAfterRefill(std::string_view& line, std::string_view* keep);
    // Moves the bytes still needed to the window's front and reads the next block behind them.
    void Refill(std::string_view* keep);
    // The first pass: the window's first start bytes, then the rest of the file.
    void CountLines(std::size_t start, TLineCounter& counter);
    void Pump();
    void LowerBarMax();

    TPageProgress FProgress;
    bool FBrokenLines;
    std::size_t FBlockSize;
    TFileBlockReader FFile;
    std::size_t FLines = 0;
    std::uint64_t FTextBytes = 0;
    // The window: the dump's bytes from the line being handed out on, as
    // far as they have been read. Never holds a NUL.
    std::unique_ptr<char[]> FWindow;
    std::size_t FCapacity = 0;
    std::size_t FUsed = 0;
    bool FFinal = true; // the window holds the rest of the text
    TDumpLineReader FReader{std::string_view()};
    std::size_t FNumber = 1;
    std::size_t FPacing = 20;
    std::size_t FUntilPump = 0;
    bool FStepPending = false;
};

// A count as a progress bar takes it: at most INT_MAX.
int ClampToInt(std::size_t n);

} // namespace velmora
