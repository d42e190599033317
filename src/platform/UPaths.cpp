#include "platform/UPaths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/UFiles.h"
#include "platform/UText.h"

#ifndef _WIN32
#include <unistd.h>
#else
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace velmora {

std::filesystem::path FileSystemPath(const std::string& path)
{
#ifdef _WIN32
    return fs::path(std::u8string(path.begin(), path.end()));
#else
    return fs::path(path);
#endif
}

bool IsPathDelimiter(char c)
{
#ifdef _WIN32
    return c == '\\' || c == '/';
#else
    return c == '/';
#endif
}

bool IsFileNameBoundary(char c)
{
#ifdef _WIN32
    return IsPathDelimiter(c) || c == ':';
#else
    return IsPathDelimiter(c);
#endif
}

namespace {
std::size_t FileNameStart(const std::string& path)
{
    std::size_t i = path.size();
    while (i > 0 && !IsFileNameBoundary(path[i - 1]))
        --i;
    return i;
}
} // namespace

std::string ExtractFileName(const std::string& path)
{
    return path.substr(FileNameStart(path));
}

std::string ExtractFilePath(const std::string& path)
{
    return path.substr(0, FileNameStart(path));
}

std::string IncludeTrailingPathDelimiter(const std::string& dir)
{
    if (!dir.empty() && IsPathDelimiter(dir.back()))
        return dir;
    return dir + PathDelim;
}

std::string ChangeFileExt(const std::string& path, const std::string& ext)
{
    std::size_t start = FileNameStart(path);
    std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < start)
        return path + ext;
    return path.substr(0, dot) + ext;
}

std::string ExecutablePath()
{
#ifdef _WIN32
    wchar_t buffer[MAX_PATH * 4];
    DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 4);
    return Utf8Text(std::wstring(buffer, n));
#else
    std::error_code ec;
    fs::path p = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : p.string();
#endif
}

namespace {
bool IsWritableDirectory(const std::string& dir)
{
    std::error_code ec;
    if (dir.empty() || !fs::is_directory(FileSystemPath(dir), ec))
        return false;
#ifdef _WIN32
    // Windows' access() only looks at the read-only attribute, not at who may
    // write into the folder (Program Files): try to create a file there.
    TAtomicFileWriter probe(IncludeTrailingPathDelimiter(dir) + "velmora.probe");
    return probe.Ok();
#else
    return access(dir.c_str(), W_OK) == 0;
#endif
}

std::string PerUserDirectory()
{
#ifdef _WIN32
    const wchar_t* appData = _wgetenv(L"APPDATA");
    fs::path base = appData && *appData ? fs::path(appData) : fs::path(".");
    return IncludeTrailingPathDelimiter((base / "Velmora").string());
#else
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    fs::path base = (xdg && *xdg) ? fs::path(xdg) : fs::path(home && *home ? home : ".") / ".config";
    return IncludeTrailingPathDelimiter((base / "velmora").string());
#endif
}
} // namespace

std::string ProgramDirectory(const std::string& executableDir)
{
    if (IsWritableDirectory(executableDir))
        return IncludeTrailingPathDelimiter(executableDir);
    std::string dir = PerUserDirectory();
    std::error_code ec;
    fs::create_directories(FileSystemPath(dir), ec);
    return dir;
}

} // namespace velmora
