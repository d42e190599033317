#include "platform/UFileBlocks.h"

#include <algorithm>
#include <utility>

#include "platform/UFiles.h"

#ifdef __linux__
#include <fcntl.h>
#endif

namespace velmora {

namespace {
// Three blocks: one in use on each side and one to spare, so that neither
// side waits for the other at every hand-over.
constexpr std::size_t RingBlocks = 3;

bool SeekTo(std::FILE* f, std::uint64_t offset)
{
#ifdef _WIN32
    return ::_fseeki64(f, static_cast<__int64>(offset), SEEK_SET) == 0;
#else
    return ::fseeko(f, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}
} // namespace

// ---- TBlockRing -------------------------------------------------------------

TBlockRing::TBlockRing(std::size_t blockSize, std::size_t slack, std::size_t blocks)
    : FBlockSize(blockSize), FSlack(slack), FBlocks(blocks),
      FMemory(std::make_unique_for_overwrite<char[]>(blocks * (blockSize + slack))),
      FSizes(std::make_unique<std::size_t[]>(blocks))
{
}

char* TBlockRing::Free()
{
    std::unique_lock lock(FLock);
    FChanged.wait(lock, [this] { return FPushed - FReleased < FBlocks || FClosed; });
    return FClosed ? nullptr : BlockAt(FPushed);
}

void TBlockRing::Push(std::size_t size)
{
    {
        std::lock_guard lock(FLock);
        FSizes[FPushed % FBlocks] = size;
        ++FPushed;
    }
    FChanged.notify_all();
}

bool TBlockRing::Pop(std::string_view& block)
{
    std::unique_lock lock(FLock);
    FChanged.wait(lock, [this] { return FPopped < FPushed || FClosed; });
    if (FPopped == FPushed)
        return false;
    block = std::string_view(BlockAt(FPopped), FSizes[FPopped % FBlocks]);
    ++FPopped;
    return true;
}

void TBlockRing::Release()
{
    {
        std::lock_guard lock(FLock);
        ++FReleased;
    }
    FChanged.notify_all();
}

void TBlockRing::Close()
{
    {
        std::lock_guard lock(FLock);
        FClosed = true;
    }
    FChanged.notify_all();
}

void TBlockRing::Reopen()
{
    std::lock_guard lock(FLock);
    FPushed = FPopped = FReleased = 0;
    FClosed = false;
}

// ---- TFileBlockReader -------------------------------------------------------

TFileBlockReader::~TFileBlockReader()
{
    Stop();
    if (FFile)
        std::fclose(FFile);
}

bool TFileBlockReader::Open(const std::string& path)
{
    Stop();
    if (FFile)
        std::fclose(FFile);
    FFile = nullptr;
    FFailed = false;
    FBytesRead = 0;
    FFile = OpenForReading(path); // refuses what is no regular file
    if (!FFile)
        return false;
    // Unbuffered: every read goes straight from the system into a block.
    std::setvbuf(FFile, nullptr, _IONBF, 0);
#ifdef __linux__
    ::posix_fadvise(::fileno(FFile), 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    return true;
}

std::size_t TFileBlockReader::ReadStart(char* into, std::size_t size)
{
    Stop();
    if (!FFile || !SeekTo(FFile, 0)) {
        FFailed = true;
        return 0;
    }
    std::size_t done = 0;
    while (done < size) {
        const std::size_t n = std::fread(into + done, 1, size - done, FFile);
        if (n == 0)
            break;
        done += n;
    }
    FFailed = FFailed || std::ferror(FFile) != 0;
    FBytesRead += done;
    return done;
}

void TFileBlockReader::Start(std::size_t blockSize, std::uint64_t from, std::uint64_t limit, TBlockEnd end)
{
    Stop();
    if (FRing && FRing->BlockSize() == blockSize)
        FRing->Reopen(); // the memory of an earlier pass, already paged in
    else
        FRing = std::make_unique<TBlockRing>(blockSize, 0, RingBlocks);
    if (!FFile || !SeekTo(FFile, from)) {
        FFailed = true;
        return;
    }
    FThread = std::thread([this, limit, end = std::move(end)] { ReadAhead(limit, end); });
}

void TFileBlockReader::ReadAhead(std::uint64_t limit, const TBlockEnd& end)
{
    const std::size_t blockSize = FRing->BlockSize();
    while (limit > 0) {
        char* block = FRing->Free();
        if (!block)
            break; // stopped
        const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(blockSize, limit));
        const std::size_t n = std::fread(block, 1, wanted, FFile);
        FBytesRead += n;
        limit -= n;
        const std::size_t kept = end ? std::min(end(std::string_view(block, n)), n) : n;
        if (kept > 0)
            FRing->Push(kept);
        if (n < wanted || kept < n) {
            FFailed = FFailed || std::ferror(FFile) != 0;
            break; // the end of the file or of what the caller wants, or a failure
        }
    }
    FRing->Close();
}

std::string_view TFileBlockReader::Next()
{
    if (!FThread.joinable())
        return {}; // not started, or stopped
    if (FPopped)
        FRing->Release();
    std::string_view block;
    FPopped = FRing->Pop(block);
    return block;
}

void TFileBlockReader::Stop()
{
    if (FRing)
        FRing->Close();
    if (FThread.joinable())
        FThread.join();
    FPopped = false;
}

// ---- TFileBlockWriter -------------------------------------------------------

TFileBlockWriter::TFileBlockWriter(std::function<void(std::string_view)> write, std::size_t blockSize,
                                   std::size_t slack)
    : FWrite(std::move(write)), FRing(blockSize, slack, RingBlocks), FFilling(FRing.Free())
{
}

TFileBlockWriter::~TFileBlockWriter()
{
    FRing.Close();
    if (FThread.joinable())
        FThread.join();
}

void TFileBlockWriter::Submit(std::size_t size)
{
    // A file of a block or two is written faster than a thread starts on a
    // busy machine: the first block is written here, the thread starts with
    // the second.
    if (!FFirstWritten) {
        FFirstWritten = true;
        FWrite(std::string_view(FFilling, size));
        return;
    }
    if (!FThread.joinable())
        FThread = std::thread([this] { WriteQueued(); });
    FRing.Push(size);
    FFilling = FRing.Free();
}

void TFileBlockWriter::Finish(std::size_t size)
{
    if (!FThread.joinable()) {
        if (size > 0)
            FWrite(std::string_view(FFilling, size));
        return;
    }
    if (size > 0)
        FRing.Push(size);
    FRing.Close();
    FThread.join();
}

void TFileBlockWriter::WriteQueued()
{
    for (std::string_view block; FRing.Pop(block); FRing.Release())
        FWrite(block);
}

} // namespace velmora
