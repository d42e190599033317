// The dump is read twice when its lines are counted: a first pass counts
// them, which the file bar and the pacing of window messages need before the
// first line is written; the second hands out the lines from a window of a
// block or two. With nothing to show the count, only the second pass is
// made. The first two blocks are read once, into the window; the rest of
// either pass is read by a thread of its own, a few blocks ahead.
#include "conversion/UDumpLineSource.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

#include "platform/UControls.h"

namespace velmora {

namespace {
// The bytes of a block before its first NUL: a NUL ends the text, even one
// that was not there when the lines were counted.
std::size_t TextBefore(std::string_view block)
{
    const void* nul = block.empty() ? nullptr : std::memchr(block.data(), 0, block.size());
    return nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - block.data()) : block.size();
}
} // namespace

TDumpLineSource::TDumpLineSource(TPageProgress progress, bool brokenLines, std::size_t blockSize)
    : FProgress(std::move(progress)), FBrokenLines(brokenLines), FBlockSize(std::max<std::size_t>(blockSize, 1))
{
    static const bool AlwaysRunning = true;
    if (!FProgress.Running)
        FProgress.Running = &AlwaysRunning;
}

bool TDumpLineSource::Open(const std::string& path, bool countLines)
{
    if (!FFile.Open(path))
        return false;
    FCapacity = 2 * FBlockSize;
    FWindow = std::make_unique_for_overwrite<char[]>(FCapacity);
    // The first bytes go straight into the window: a dump that fits in it is
    // read once, and without a thread.
    const std::size_t start = FFile.ReadStart(FWindow.get(), FCapacity);
    // The text ends at the file's end or at a NUL, whatever follows it. The
    // second pass goes on after the window's bytes up to the text's end as
    // counted, even when the file grows meanwhile; less when it shrinks.
    // Uncounted, the one pass goes on to the file's end or the first NUL.
    std::uint64_t text = TFileBlockReader::NoLimit;
    if (countLines || FProgress.Bar) {
        TLineCounter counter;
        CountLines(start, counter);
        FLines = counter.Lines();
        text = FTextBytes = counter.TextSize();
    } else if (const std::size_t before = TextBefore(std::string_view(FWindow.get(), start));
               before < start || start < FCapacity) {
        text = before;
    }
    if (FFile.Failed())
        return false;
    FFinal = text <= start;
    FUsed = static_cast<std::size_t>(std::min<std::uint64_t>(text, start));
    if (!FFinal)
        FFile.Start(FBlockSize, start, text == TFileBlockReader::NoLimit ? text : text - start, TextBefore);
    FReader = TDumpLineReader(std::string_view(FWindow.get(), FUsed), FFinal);

    const std::size_t pageLines = FProgress.FirstPosition + FLines;
    if (FProgress.Bar) {
        FProgress.Bar->SetPosition(0);
        FProgress.Bar->SetMax(ClampToInt(pageLines > 0 ? pageLines - 1 : 0));
    }
    // About 20 times a page, at most every 20 lines; the first time at the
    // first multiple of the interval among the dump lines' positions.
    FPacing = std::max<std::size_t>(20, pageLines / 20);
    const std::size_t firstPump = (FProgress.FirstPosition + FPacing - 1) / FPacing * FPacing;
    FUntilPump = firstPump - FProgress.FirstPosition + 1;
    return true;
}

void TDumpLineSource::CountLines(std::size_t start, TLineCounter& counter)
{
    if (counter.Add(std::string_view(FWindow.get(), start)) && start == FCapacity) {
        FFile.Start(FBlockSize, start);
        for (std::string_view block; !(block = FFile.Next()).empty() && counter.Add(block);) {
        }
        FFile.Stop();
    }
}

bool TDumpLineSource::TakeLineAfterRefill(std::string_view& line, std::string_view* keep)
{
    while (!FFinal) {
        Refill(keep);
        if (FReader.Next(line))
            return true;
    }
    return false;
}

void TDumpLineSource::Refill(std::string_view* keep)
{
    // Bytes before the kept line, or before the next line, are done with.
    const std::size_t dropped = keep ? static_cast<std::size_t>(keep->data() - FWindow.get()) : FReader.Pos();
    const std::size_t kept = FUsed - dropped;
    if (kept + FBlockSize > FCapacity) {
        // A line longer than the window: the window grows to hold it.
        FCapacity = std::max(2 * FCapacity, kept + FBlockSize);
        auto larger = std::make_unique_for_overwrite<char[]>(FCapacity);
        std::memcpy(larger.get(), FWindow.get() + dropped, kept);
        FWindow = std::move(larger);
    } else if (dropped > 0) {
        std::memmove(FWindow.get(), FWindow.get() + dropped, kept);
    }
    FUsed = kept;
    if (keep)
        *keep = std::string_view(FWindow.get(), keep->size());

    const std::string_view block = FFile.Next();
    if (!block.empty())
        std::memcpy(FWindow.get() + FUsed, block.data(), block.size()); // the room was made above
    FUsed += block.size();
    // The text ends where the reading ends: at the length counted, or sooner
    // in a file that shrank or failed, or at a NUL.
    FFinal = block.empty();
    if (FFinal)
        FFile.Stop();
    FReader.Continue(std::string_view(FWindow.get(), FUsed), dropped, FFinal);
}

void TDumpLineSource::Pump()
{
    FUntilPump = FPacing;
    if (FProgress.ProcessMessages)
        FProgress.ProcessMessages();
}

void TDumpLineSource::LowerBarMax()
{
    if (FProgress.Bar)
        FProgress.Bar->SetMax(FProgress.Bar->Max() - 1);
}

void TDumpLineSource::Finish()
{
    if (FProgress.Bar)
        FProgress.Bar->SetPosition(0);
}

int ClampToInt(std::size_t n)
{
    return n > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n);
}

} // namespace velmora
