#include "platform/UFiles.h"

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/UPaths.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#else
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace velmora {

namespace {
std::FILE* OpenForReading(const std::string& path)
{
#ifdef _WIN32
    return ::_wfopen(FileSystemPath(path).c_str(), L"rb");
#else
    return std::fopen(path.c_str(), "rb");
#endif
}
} // namespace

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
std::string TempPathFor(const std::string& target)
{
    static std::atomic<unsigned> counter{0};
#ifdef _WIN32
    unsigned long pid = GetCurrentProcessId();
#else
    unsigned long pid = static_cast<unsigned long>(getpid());
#endif
    return ExtractFilePath(target) + "." + ExtractFileName(target) + ".tmp" + std::to_string(pid) + "-" +
           std::to_string(counter++);
}
} // namespace

TAtomicFileWriter::TAtomicFileWriter(std::string target) : FTarget(std::move(target))
{
    FTempPath = TempPathFor(FTarget);
#ifdef _WIN32
    // Exclusive create; the C runtime here knows no "x" mode for fopen.
    int fd = ::_wopen(FileSystemPath(FTempPath).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                     _S_IREAD | _S_IWRITE);
    if (fd >= 0) {
        FFile = ::_fdopen(fd, "wb");
        if (!FFile)
            ::_close(fd);
    }
#else
    // Exclusive create: never follow or reuse a file that is already there.
    int fd = ::open(FTempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
        FFile = ::fdopen(fd, "wb");
        if (!FFile)
            ::close(fd);
    }
#endif
    if (!FFile)
        FTempPath.clear();
}

TAtomicFileWriter::~TAtomicFileWriter()
{
    Discard();
}

void TAtomicFileWriter::Write(std::string_view bytes)
{
    if (!FFile || bytes.empty())
        return;
    if (std::fwrite(bytes.data(), 1, bytes.size(), FFile) != bytes.size())
        Discard();
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
    if (!ok) {
        std::error_code ec;
        fs::remove(FileSystemPath(FTempPath), ec);
    }
    FTempPath.clear();
    return ok;
}

void TAtomicFileWriter::Discard()
{
    if (FFile) {
        std::fclose(FFile);
        FFile = nullptr;
    }
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
