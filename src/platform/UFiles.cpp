#include "platform/UFiles.h"

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/UPaths.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace velmora {

std::FILE* OpenForReading(const std::string& path)
{
#ifdef _WIN32
    return ::_wfopen(FileSystemPath(path).c_str(), L"rb");
#else
    return std::fopen(path.c_str(), "rb");
#endif
}

bool FileExists(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(FileSystemPath(path), ec);
}

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    bool same = fs::equivalent(FileSystemPath(a), FileSystemPath(b), ec);
    return !ec && same;
}

namespace {
// The device and file number of the file a path reaches, links followed.
std::optional<std::pair<std::uint64_t, std::uint64_t>> FileId(const std::string& path)
{
#ifdef _WIN32
    HANDLE h = CreateFileW(FileSystemPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info;
    BOOL ok = GetFileInformationByHandle(h, &info);
    CloseHandle(h);
    if (!ok)
        return std::nullopt;
    return std::make_pair(static_cast<std::uint64_t>(info.dwVolumeSerialNumber),
                          (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow);
#else
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return std::make_pair(static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino));
#endif
}
} // namespace

void TFileSet::Add(const std::string& path)
{
    if (auto id = FileId(path))
        FIds.insert(*id);
}

bool TFileSet::Contains(const std::string& path) const
{
    if (FIds.empty())
        return false;
    auto id = FileId(path);
    return id && FIds.count(*id) > 0;
}

bool ReadWholeFile(const std::string& path, std::string& contents)
{
    contents.clear();
    std::error_code ec;
    if (fs::is_directory(FileSystemPath(path), ec))
        return false;
    std::FILE* f = OpenForReading(path);
    if (!f)
        return false;
    bool ok = true;
    if (std::fseek(f, 0, SEEK_END) == 0) {
        long size = std::ftell(f);
        if (size > 0)
            contents.reserve(static_cast<std::size_t>(size));
        std::rewind(f);
    }
    char buffer[1 << 16];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        contents.append(buffer, n);
    if (std::ferror(f))
        ok = false;
    std::fclose(f);
    if (!ok)
        contents.clear();
    return ok;
}

namespace {
// The file a path finally names: a symbolic link is followed to its target
// (a relative one from the link's directory), so that a save replaces the
// target and keeps the link. A loop of links stops after a bound.
std::string FollowLinks(std::string path)
{
    constexpr int MaxLinks = 40;
    for (int i = 0; i < MaxLinks; ++i) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(FileSystemPath(path), ec)))
            break;
        fs::path target = fs::read_symlink(FileSystemPath(path), ec);
        if (ec)
            break;
        path = target.is_absolute() ? target.string() : (fs::path(ExtractFilePath(path)) / target).string();
    }
    return path;
}

// ---- Temporary files -------------------------------------------------------

// Names of the temporary files that exist at this moment, for
// RemoveTemporaryFiles, which may run in a signal handler: fixed slots of
// pointers, set and cleared atomically.
constexpr int TempSlotCount = 16;
std::atomic<const char*> TempSlots[TempSlotCount];

int RegisterTemp(const std::string& path)
{
    for (int i = 0; i < TempSlotCount; ++i) {
        const char* empty = nullptr;
        if (TempSlots[i].compare_exchange_strong(empty, path.c_str()))
            return i;
    }
    return -1; // too many at once: this one is not removed on a signal
}

void UnregisterTemp(int& slot)
{
    if (slot >= 0)
        TempSlots[slot].store(nullptr);
    slot = -1;
}

// A short name in dir, whatever the length of the target's name: a dot, the
// program, the process and a counter fit far below the 255-byte limit.
std::string TempName(const std::string& dir)
{
    static std::atomic<unsigned> counter{0};
#ifdef _WIN32
    unsigned long pid = GetCurrentProcessId();
#else
    unsigned long pid = static_cast<unsigned long>(::getpid());
#endif
    return dir + ".velmora-" + std::to_string(pid) + "-" + std::to_string(counter++) + ".tmp";
}

// Tries fresh names until one that did not exist is taken; another process
// may be using a name, so a taken one is skipped, never reused.
template <typename TTake>
bool TakeFreshName(const std::string& dir, std::string& path, TTake take)
{
    constexpr int Attempts = 100;
    for (int i = 0; i < Attempts; ++i) {
        path = TempName(dir);
        if (take(path))
            return true;
        if (errno != EEXIST)
            break;
    }
    path.clear();
    return false;
}

#ifndef _WIN32
// An open file without a name in dir, where the system offers one (Linux):
// a process killed while writing it leaves nothing behind. -1 elsewhere.
int OpenUnnamed(const std::string& dir)
{
#ifdef O_TMPFILE
    // Naming it later goes through /proc.
    if (::access("/proc/self/fd", X_OK) != 0)
        return -1;
    return ::open(dir.empty() ? "." : dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644);
#else
    (void)dir;
    return -1;
#endif
}

// Gives the unnamed file open as fd the name path; fails when path exists.
bool NameUnnamed(int fd, const std::string& path)
{
    std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// Exclusive create: never follow or reuse a file that is already there.
std::FILE* CreateNamed(const std::string& path)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return nullptr;
    std::FILE* f = ::fdopen(fd, "wb");
    if (!f)
        ::close(fd);
    return f;
}
#else
std::FILE* CreateNamed(const std::string& path)
{
    // Exclusive create; the C runtime here knows no "x" mode for fopen.
    int fd = ::_wopen(FileSystemPath(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                      _S_IREAD | _S_IWRITE);
    if (fd < 0)
        return nullptr;
    std::FILE* f = ::_fdopen(fd, "wb");
    if (!f)
        ::_close(fd);
    return f;
}
#endif
} // namespace

void RemoveTemporaryFiles()
{
    for (std::atomic<const char*>& slot : TempSlots)
        if (const char* path = slot.load())
#ifdef _WIN32
            ::DeleteFileW(FileSystemPath(path).c_str());
#else
            ::unlink(path);
#endif
}

TAtomicFileWriter::TAtomicFileWriter(std::string target) : FTarget(FollowLinks(std::move(target)))
{
    const std::string dir = ExtractFilePath(FTarget);
#ifndef _WIN32
    int fd = OpenUnnamed(dir);
    if (fd >= 0) {
        FFile = ::fdopen(fd, "wb");
        if (!FFile)
            ::close(fd);
        FUnnamed = FFile != nullptr;
        return;
    }
#endif
    TakeFreshName(dir, FTempPath, [this](const std::string& path) {
        FFile = CreateNamed(path);
        return FFile != nullptr;
    });
    if (FFile)
        FTempSlot = RegisterTemp(FTempPath);
}

TAtomicFileWriter::~TAtomicFileWriter()
{
    Discard();
}

void TAtomicFileWriter::Write(std::string_view bytes)
{
    if (!FFile || bytes.empty())
        return;
    if (std::fwrite(bytes.data(), 1, bytes.size(), FFile) != bytes.size()) {
        Discard();
        return;
    }
    FWritten += bytes.size();
    StartWriteBack();
}

// A large file is handed to the disk while it is being written, so that the
// flush before the rename has little left to wait for.
void TAtomicFileWriter::StartWriteBack()
{
#ifdef __linux__
    constexpr std::uint64_t Chunk = 8 << 20;
    if (FWritten - FWrittenBack < Chunk)
        return;
    if (std::fflush(FFile) == 0)
        ::sync_file_range(::fileno(FFile), static_cast<off64_t>(FWrittenBack),
                          static_cast<off64_t>(FWritten - FWrittenBack), SYNC_FILE_RANGE_WRITE);
    FWrittenBack = FWritten;
#endif
}

bool TAtomicFileWriter::Commit()
{
    if (!FFile)
        return false;
    bool ok = std::fflush(FFile) == 0;
#ifdef _WIN32
    ok = ok && FlushFileBuffers(reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(FFile))));
#else
    ok = ok && ::fsync(::fileno(FFile)) == 0;
    // The unnamed file gets a temporary name first: linking cannot replace the target.
    if (ok && FUnnamed) {
        int fd = ::fileno(FFile);
        ok = TakeFreshName(ExtractFilePath(FTarget), FTempPath, [&](const std::string& path) {
            FTempSlot = RegisterTemp(path);
            if (NameUnnamed(fd, path))
                return true;
            UnregisterTemp(FTempSlot);
            return false;
        });
    }
#endif
    ok = (std::fclose(FFile) == 0) && ok;
    FFile = nullptr;
    if (ok) {
        std::error_code ec;
        // Keep an existing target's permissions.
        auto perms = fs::status(FileSystemPath(FTarget), ec).permissions();
        if (!ec)
            fs::permissions(FileSystemPath(FTempPath), perms, ec);
        fs::rename(FileSystemPath(FTempPath), FileSystemPath(FTarget), ec);
        ok = !ec;
    }
    if (ok) { // the temporary name is the target's now
        UnregisterTemp(FTempSlot);
        FTempPath.clear();
    }
    Discard();
    return ok;
}

void TAtomicFileWriter::Discard()
{
    if (FFile) {
        std::fclose(FFile);
        FFile = nullptr;
    }
    UnregisterTemp(FTempSlot);
    if (!FTempPath.empty()) {
        std::error_code ec;
        fs::remove(FileSystemPath(FTempPath), ec);
        FTempPath.clear();
    }
}

bool WriteFileAtomically(const std::string& path, std::string_view contents)
{
    TAtomicFileWriter writer(path);
    writer.Write(contents);
    return writer.Commit();
}

bool CopyFileAtomically(const std::string& source, const std::string& target)
{
    if (SameFile(source, target))
        return true;
    std::FILE* in = OpenForReading(source);
    if (!in)
        return false;
    TAtomicFileWriter writer(target);
    char buffer[1 << 16];
    std::size_t n;
    while (writer.Ok() && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        writer.Write(std::string_view(buffer, n));
    bool readOk = !std::ferror(in);
    std::fclose(in);
    return readOk && writer.Commit();
}

} // namespace velmora
