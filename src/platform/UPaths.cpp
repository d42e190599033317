#include "platform/UPaths.h"

#include "platform/UText.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#else
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace velmora {

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

bool SamePath(const std::string& a, const std::string& b)
{
    return ComparePaths(a, b) == 0;
}

int ComparePaths(const std::string& a, const std::string& b)
{
    int byText = CompareTextLocale(a, b);
    if (byText != 0 || PathsIgnoreCase)
        return byText;
    int byBytes = a.compare(b);
    return (byBytes > 0) - (byBytes < 0);
}

void SortUniquePaths(std::vector<std::string>& paths)
{
    std::vector<TTextKey> keys;
    keys.reserve(paths.size());
    for (const std::string& path : paths)
        keys.push_back(TextKey(path));
    // ComparePaths on the keys made once.
    auto compare = [&](std::size_t a, std::size_t b) {
        int byText = CompareTextKeys(keys[a], keys[b]);
        return (byText != 0 || PathsIgnoreCase) ? byText : paths[a].compare(paths[b]);
    };
    std::vector<std::size_t> order(paths.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return compare(a, b) < 0; });
    auto end = std::unique(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return compare(a, b) == 0; });
    std::vector<std::string> sorted;
    sorted.reserve(static_cast<std::size_t>(end - order.begin()));
    for (auto i = order.begin(); i != end; ++i)
        sorted.push_back(std::move(paths[*i]));
    paths = std::move(sorted);
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
    char buffer[MAX_PATH * 4];
    DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    return std::string(buffer, n);
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
    if (dir.empty() || !fs::is_directory(dir, ec))
        return false;
#ifdef _WIN32
    return true;
#else
    return access(dir.c_str(), W_OK) == 0;
#endif
}

std::string PerUserDirectory()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    fs::path base = (xdg && *xdg) ? fs::path(xdg) : fs::path(home && *home ? home : ".") / ".config";
    return IncludeTrailingPathDelimiter((base / "velmora").string());
}
} // namespace

std::string ProgramDirectory(const std::string& executableDir)
{
    if (IsWritableDirectory(executableDir))
        return IncludeTrailingPathDelimiter(executableDir);
    std::string dir = PerUserDirectory();
    std::error_code ec;
    fs::create_directories(dir, ec);
    return dir;
}

} // namespace velmora
