// Files read and written in blocks by a thread of their own, so that the
// caller works on one block while the next is read or the last is written.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace velmora {

// Blocks handed from one thread to another, in order, through a fixed ring of
// buffers: the producer fills a free block and pushes it; the consumer pops
// it and releases it once done with it.
class TBlockRing {
public:
    // Each block has room for blockSize bytes and slack bytes past them.
    TBlockRing(std::size_t blockSize, std::size_t slack, std::size_t blocks);

    std::size_t BlockSize() const { return FBlockSize; }
    // Producer: a free block, waiting for one if need be; null once closed.
    char* Free();
    // Producer: the block from Free holds size bytes.
    void Push(std::size_t size);
    // Consumer: the next pushed block, waiting for it if need be; false once
    // the ring is closed and every pushed block has been popped.
    bool Pop(std::string_view& block);
    // Consumer: done with the block popped last.
    void Release();
    // Either side: nothing more is pushed; Free returns null from now on.
    void Close();
    // Empty and open again, for another round with the same memory; only
    // while no other thread uses the ring.
    void Reopen();

private:
    char* BlockAt(std::uint64_t k) const { return FMemory.get() + (k % FBlocks) * (FBlockSize + FSlack); }

    std::size_t FBlockSize;
    std::size_t FSlack;
    std::size_t FBlocks;
    std::unique_ptr<char[]> FMemory;
    std::unique_ptr<std::size_t[]> FSizes;
    // Block k lives at BlockAt(k); all guarded by FLock.
    std::uint64_t FPushed = 0;
    std::uint64_t FPopped = 0;
    std::uint64_t FReleased = 0;
    bool FClosed = false;
    std::mutex FLock;
    std::condition_variable FChanged;
};

// Reads a regular file: straight into the caller's memory, or in blocks that
// a thread reads ahead of the caller.
class TFileBlockReader {
public:
    static constexpr std::uint64_t NoLimit = std::numeric_limits<std::uint64_t>::max();

    TFileBlockReader() = default;
    ~TFileBlockReader();
    TFileBlockReader(const TFileBlockReader&) = delete;
    TFileBlockReader& operator=(const TFileBlockReader&) = delete;

    // False when the path names no regular file or it cannot be opened.
    bool Open(const std::string& path);
    // Reads up to size bytes from the first byte on into `into`, on the
    // caller's thread; fewer only at the file's end or on a failure.
    std::size_t ReadStart(char* into, std::size_t size);
    // How many bytes of a block read to hand out; fewer than the block's
    // size ends the reading there. Called on the reading thread.
    using TBlockEnd = std::function<std::size_t(std::string_view block)>;
    // Starts reading ahead from byte `from` on, at most limit bytes,
    // blockSize at a time, each block cut by end when given.
    void Start(std::size_t blockSize, std::uint64_t from, std::uint64_t limit = NoLimit, TBlockEnd end = {});
    // The next block; empty at the end of the file (a file that shrank
    // meanwhile ends sooner) or of the limit, or after a failure. Valid
    // until the next call.
    std::string_view Next();
    // Ends the reading ahead: at most the few blocks read ahead are read
    // beyond what Next handed out.
    void Stop();
    // True once a read or a seek has failed.
    bool Failed() const { return FFailed; }
    // Every byte read since Open, rereads included.
    std::uint64_t BytesRead() const { return FBytesRead; }

private:
    void ReadAhead(std::uint64_t limit, const TBlockEnd& end);

    std::FILE* FFile = nullptr;
    std::unique_ptr<TBlockRing> FRing;
    bool FPopped = false; // a block handed out by Next waits for its release
    std::atomic<bool> FFailed{false};
    std::atomic<std::uint64_t> FBytesRead{0};
    std::thread FThread;
};

// Writes blocks to a file, a thread writing each while the next is filled.
class TFileBlockWriter {
public:
    // write receives every block, in order: the first on the caller's
    // thread, the others on the writer's. It must not throw. Each block has
    // room for blockSize bytes and slack bytes past them.
    TFileBlockWriter(std::function<void(std::string_view)> write, std::size_t blockSize, std::size_t slack);
    ~TFileBlockWriter();
    TFileBlockWriter(const TFileBlockWriter&) = delete;
    TFileBlockWriter& operator=(const TFileBlockWriter&) = delete;

    // The block being filled.
    char* Block() const { return FFilling; }
    std::size_t BlockSize() const { return FRing.BlockSize(); }
    // Queues the first size bytes of Block() for writing; Block() is then a
    // free block, which may mean waiting until one has been written. The
    // thread starts with the second block submitted.
    void Submit(std::size_t size);
    // Writes the first size bytes of Block() (on the caller's thread when at
    // most one block was submitted before: a small file needs no thread) and
    // returns once everything has been written.
    void Finish(std::size_t size);

private:
    void WriteQueued();

    std::function<void(std::string_view)> FWrite;
    TBlockRing FRing;
    char* FFilling;
    bool FFirstWritten = false;
    std::thread FThread;
};

} // namespace velmora
