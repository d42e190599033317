// Whole-file reads straight into a buffer of the file's size.
#include "platform/UFileBytes.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <system_error>

#include "platform/UFiles.h"
#include "platform/UPaths.h"

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace velmora {

namespace {
#ifdef __linux__
// Below this a plain allocation is as quick.
constexpr std::size_t MapFrom = std::size_t(1) << 20;
#endif
} // namespace

void TFileBytes::TRelease::operator()(char* data) const
{
#ifdef __linux__
    if (Capacity >= MapFrom) {
        ::munmap(data, Capacity);
        return;
    }
#endif
    delete[] data;
}

void TFileBytes::Allocate(std::size_t capacity)
{
    std::unique_ptr<char[], TRelease> data;
#ifdef __linux__
    if (capacity >= MapFrom) {
        // Memory whose pages the system provides at once, rather than one
        // page fault per 4 KB while the file is read into it.
        void* map = ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        if (map == MAP_FAILED)
            throw std::bad_alloc();
        data = std::unique_ptr<char[], TRelease>(static_cast<char*>(map), TRelease{capacity});
    }
#endif
    if (!data)
        data = std::unique_ptr<char[], TRelease>(new char[capacity], TRelease{0});
    if (FSize)
        std::memcpy(data.get(), FData.get(), FSize);
    FData = std::move(data);
    FCapacity = capacity;
}

bool TFileBytes::Read(const std::string& path)
{
    FSize = 0;
    if (!FileExists(path))
        return false;
    std::FILE* f = OpenForReading(path);
    if (!f)
        return false;
    // Unbuffered: a large read goes straight from the system into our buffer.
    std::setvbuf(f, nullptr, _IONBF, 0);
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(FileSystemPath(path), ec);
    // One byte more than the file's size tells a file that grew meanwhile
    // from one that is read whole.
    const std::size_t wanted = ec ? 1 << 16 : static_cast<std::size_t>(size) + 1;
    if (FCapacity < wanted)
        Allocate(wanted);
    for (;;) {
        FSize += std::fread(FData.get() + FSize, 1, FCapacity - FSize, f);
        if (FSize < FCapacity)
            break; // end of file, or a read error
        Allocate(FCapacity * 2);
    }
    const bool ok = !std::ferror(f);
    std::fclose(f);
    if (!ok)
        FSize = 0;
    return ok;
}

} // namespace velmora
