#include "platform/UFiles.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <limits>
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
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace velmora {

namespace {
// A named pipe waits in open for a writer and a device may never end: only
// regular files are read. No system code says "not a regular file".
constexpr int NotRegularFile = EINVAL;

std::FILE* RefuseOpened(std::FILE* f)
{
    std::fclose(f);
    errno = NotRegularFile;
    return nullptr;
}
} // namespace

std::FILE* OpenForReading(const std::string& path)
{
    // Looked at before opening, and again on what was opened, in case
    // something else was put in the file's place meanwhile.
    std::error_code ec;
    fs::file_status status = fs::status(FileSystemPath(path), ec);
    if (!ec && fs::exists(status) && !fs::is_regular_file(status)) {
        errno = NotRegularFile;
        return nullptr;
    }
#ifdef _WIN32
    std::FILE* f = ::_wfopen(FileSystemPath(path).c_str(), L"rb");
    struct _stat64 st;
    if (f && (::_fstat64(::_fileno(f), &st) != 0 || (st.st_mode & _S_IFMT) != _S_IFREG))
        return RefuseOpened(f);
    return f;
#else
    // Without waiting: a pipe put here meanwhile must not hold the open.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    std::FILE* f = ::fdopen(fd, "rb");
    if (!f) {
        ::close(fd);
        return nullptr;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        return RefuseOpened(f);
    return f;
#endif
}

bool FileExists(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(FileSystemPath(path), ec);
}

bool ForceDirectories(const std::string& dir, bool& created, std::error_code& error)
{
    created = false;
    fs::path path = FileSystemPath(dir);
    if (!path.has_filename() && path.has_relative_path())
        path = path.parent_path(); // "out/" names the folder "out"
    if (fs::is_directory(path, error)) {
        error.clear();
        return true;
    }
    if (fs::exists(fs::symlink_status(path, error))) {
        error = std::make_error_code(std::errc::not_a_directory);
        return false;
    }
    error.clear();
    created = fs::create_directories(path, error);
    std::error_code ignored;
    if (!error && !fs::is_directory(path, ignored))
        error = std::make_error_code(std::errc::not_a_directory);
    return !error;
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
std::error_code LastError()
{
    return std::error_code(errno, std::generic_category());
}

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

constexpr std::string_view TempPrefix = ".velmora-";
constexpr std::string_view TempSuffix = ".tmp";

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
    return dir + std::string(TempPrefix) + std::to_string(pid) + "-" + std::to_string(counter++) +
           std::string(TempSuffix);
}

// The process that a name made by TempName belongs to; none for other names.
std::optional<unsigned long> TempNameProcess(std::string_view name)
{
    if (!name.starts_with(TempPrefix) || !name.ends_with(TempSuffix))
        return std::nullopt;
    name = name.substr(TempPrefix.size(), name.size() - TempPrefix.size() - TempSuffix.size());
    const std::size_t dash = name.find('-');
    if (dash == std::string_view::npos)
        return std::nullopt;
    const std::string_view pid = name.substr(0, dash);
    const std::string_view counter = name.substr(dash + 1);
    auto digits = [](std::string_view text) {
        return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    unsigned long value = 0;
    // As TempName writes it: no sign, no leading zero, no process 0.
    if (!digits(pid) || !digits(counter) || pid.front() == '0' ||
        std::from_chars(pid.data(), pid.data() + pid.size(), value).ec != std::errc() ||
        value > static_cast<unsigned long>(INT_MAX))
        return std::nullopt;
    return value;
}

// True only when no process with the id exists any more. A process of
// another user, which may not be asked about, still exists.
bool ProcessIsGone(unsigned long pid)
{
#ifdef _WIN32
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (!process)
        return GetLastError() == ERROR_INVALID_PARAMETER;
    DWORD code = 0;
    bool gone = GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
    CloseHandle(process);
    return gone;
#else
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
#endif
}

// Removes a regular file that belongs to this user (on Windows: that the
// folder lets it remove and that no process holds open).
void RemoveOwnFile(const fs::path& path)
{
#ifdef _WIN32
    std::error_code ec;
    if (fs::is_regular_file(fs::symlink_status(path, ec)))
        ::DeleteFileW(path.c_str());
#else
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
        ::unlink(path.c_str());
#endif
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

// New files are readable by everyone the umask allows, as an editor makes them.
constexpr unsigned DefaultMode = 0644;

#ifndef _WIN32
// An open file without a name in dir, where the system offers one (Linux):
// a process killed while writing it leaves nothing behind. -1 elsewhere.
int OpenUnnamed(const std::string& dir, unsigned mode)
{
#ifdef O_TMPFILE
    // Naming it later goes through /proc.
    if (::access("/proc/self/fd", X_OK) != 0)
        return -1;
    return ::open(dir.empty() ? "." : dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, static_cast<mode_t>(mode));
#else
    (void)dir;
    (void)mode;
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
std::FILE* CreateNamed(const std::string& path, unsigned mode)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode));
    if (fd < 0)
        return nullptr;
    std::FILE* f = ::fdopen(fd, "wb");
    if (!f)
        ::close(fd);
    return f;
}
#else
std::FILE* CreateNamed(const std::string& path, unsigned)
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

void RemoveStaleTemporaryFiles(const std::string& dir)
{
    std::error_code ec;
    for (fs::directory_iterator it(FileSystemPath(dir.empty() ? "." : dir), ec), end; !ec && it != end;
         it.increment(ec)) {
        // Names made by TempName are ASCII; others are not looked at further.
        const auto name = it->path().filename().native();
        if (!std::all_of(name.begin(), name.end(), [](auto c) { return c > 0 && c < 0x80; }))
            continue;
        std::optional<unsigned long> pid = TempNameProcess(std::string(name.begin(), name.end()));
        if (pid && ProcessIsGone(*pid))
            RemoveOwnFile(it->path());
    }
}

TAtomicFileWriter::TAtomicFileWriter(std::string target, TTargetLink link, std::optional<unsigned> mode)
    : FTarget(link == TTargetLink::Follow ? FollowLinks(std::move(target)) : std::move(target)), FLink(link),
      FMode(mode)
{
    const std::string dir = ExtractFilePath(FTarget);
    const unsigned createMode = mode.value_or(DefaultMode);
#ifndef _WIN32
    int fd = OpenUnnamed(dir, createMode);
    if (fd >= 0) {
        FFile = ::fdopen(fd, "wb");
        if (!FFile) {
            Fail(LastError());
            ::close(fd);
        }
        FUnnamed = FFile != nullptr;
        return;
    }
#endif
    TakeFreshName(dir, FTempPath, [this, createMode](const std::string& path) {
        FFile = CreateNamed(path, createMode);
        return FFile != nullptr;
    });
    if (FFile)
        FTempSlot = RegisterTemp(FTempPath);
    else
        Fail(LastError());
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
        Fail(LastError());
        Discard();
        return;
    }
    FWritten += bytes.size();
    StartWriteBack();
}

void TAtomicFileWriter::Rewrite(std::uint64_t offset, std::string_view bytes)
{
    if (!FFile)
        return;
    // Rewritten parts lie near the start of a file, within what fseek's long reaches.
    const bool inside = offset <= FWritten && bytes.size() <= FWritten - offset &&
                        offset <= static_cast<std::uint64_t>(std::numeric_limits<long>::max());
    if (!inside || std::fseek(FFile, static_cast<long>(offset), SEEK_SET) != 0 ||
        std::fwrite(bytes.data(), 1, bytes.size(), FFile) != bytes.size() || std::fseek(FFile, 0, SEEK_END) != 0) {
        Fail(inside ? LastError() : std::make_error_code(std::errc::invalid_argument));
        Discard();
    }
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

void TAtomicFileWriter::Fail(std::error_code error)
{
    if (!FError)
        FError = error;
}

bool TAtomicFileWriter::Commit()
{
    if (!FFile)
        return false;
    // Each step records the system's reason when it fails.
    auto step = [this](bool done) {
        if (!done)
            Fail(LastError());
        return done;
    };
    bool ok = step(std::fflush(FFile) == 0);
#ifdef _WIN32
    if (ok && !FlushFileBuffers(reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(FFile))))) {
        Fail(std::error_code(static_cast<int>(GetLastError()), std::system_category()));
        ok = false;
    }
#else
    ok = ok && step(::fsync(::fileno(FFile)) == 0);
    // The unnamed file gets a temporary name first: linking cannot replace the target.
    if (ok && FUnnamed) {
        int fd = ::fileno(FFile);
        ok = step(TakeFreshName(ExtractFilePath(FTarget), FTempPath, [&](const std::string& path) {
            FTempSlot = RegisterTemp(path);
            if (NameUnnamed(fd, path))
                return true;
            UnregisterTemp(FTempSlot);
            return false;
        }));
    }
#endif
    ok = step(std::fclose(FFile) == 0) && ok;
    FFile = nullptr;
    if (ok) {
        std::error_code ec;
        // Keep an existing target's permissions, unless the new file has
        // its own; a link about to be replaced lends none.
        fs::file_status old = FLink == TTargetLink::Follow ? fs::status(FileSystemPath(FTarget), ec)
                                                           : fs::symlink_status(FileSystemPath(FTarget), ec);
        if (!FMode && !ec && fs::exists(old) && !fs::is_symlink(old))
            fs::permissions(FileSystemPath(FTempPath), old.permissions(), ec);
        fs::rename(FileSystemPath(FTempPath), FileSystemPath(FTarget), ec);
        if (ec)
            Fail(ec);
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

bool WriteFileAtomically(const std::string& path, std::string_view contents, std::error_code* error)
{
    RemoveStaleTemporaryFiles(ExtractFilePath(FollowLinks(path)));
    TAtomicFileWriter writer(path);
    writer.Write(contents);
    bool ok = writer.Commit();
    if (error)
        *error = writer.Error();
    return ok;
}

namespace {
// The permission bits of an open file, for a copy of it; none on Windows.
std::optional<unsigned> PermissionBits(std::FILE* f)
{
#ifdef _WIN32
    (void)f;
    return std::nullopt;
#else
    struct stat st;
    if (::fstat(::fileno(f), &st) != 0)
        return 0600; // unknown: the owner's alone
    return static_cast<unsigned>(st.st_mode & 0777);
#endif
}
} // namespace

bool CopyFileAtomically(const std::string& source, const std::string& target)
{
    if (SameFile(source, target))
        return true;
    std::FILE* in = OpenForReading(source);
    if (!in)
        return false;
    // A profile may name any file of the user's as an image: the copy is
    // readable by no one the source keeps out.
    TAtomicFileWriter writer(target, TTargetLink::Replace, PermissionBits(in));
    char buffer[1 << 16];
    std::size_t n;
    while (writer.Ok() && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        writer.Write(std::string_view(buffer, n));
    bool readOk = !std::ferror(in);
    std::fclose(in);
    return readOk && writer.Commit();
}

} // namespace velmora
