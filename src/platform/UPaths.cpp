#include "platform/UPaths.h"

#include "platform/UText.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <filesystem>
#include <string_view>
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

std::string PathText(const std::filesystem::path& path)
{
#ifdef _WIN32
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
#else
    return path.string();
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
    wchar_t buffer[MAX_PATH * 4];
    DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 4);
    return Utf8Text(std::wstring(buffer, n));
#else
    std::error_code ec;
    fs::path p = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : p.string();
#endif
}

std::string ProcessEnvironment(const char* name)
{
#ifdef _WIN32
    // In UTF-8 like every other text of the program, whatever the code page.
    const wchar_t* value = _wgetenv(WideText(name).c_str());
    return value ? Utf8Text(value) : "";
#else
    const char* value = std::getenv(name);
    return value ? value : "";
#endif
}

namespace {
bool IsDirectory(const std::string& dir)
{
    std::error_code ec;
    return !dir.empty() && fs::is_directory(FileSystemPath(dir), ec);
}

bool IsWritableDirectory(const std::string& dir)
{
    if (!IsDirectory(dir))
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

// An installed program's bin folder lies beside share/applications/ with the
// program's desktop entry; root may write there, but the program must not.
bool IsInstalledProgramDirectory(const std::string& executableDir)
{
    return FileExists(IncludeTrailingPathDelimiter(executableDir) + VELMORA_DESKTOP_ENTRY_FROM_BIN);
}

bool KeepsFilesBesideExecutable(const std::string& executableDir)
{
    return IsWritableDirectory(executableDir) && !IsInstalledProgramDirectory(executableDir);
}

std::string HomeDirectory(const TEnvironment& env)
{
#ifdef _WIN32
    std::string home = env("USERPROFILE");
#else
    std::string home = env("HOME");
#endif
    return home.empty() ? "." : home;
}

#ifndef _WIN32 // XDG folders are a POSIX desktop's
std::string ConfigHome(const TEnvironment& env)
{
    std::string xdg = env("XDG_CONFIG_HOME");
    return xdg.empty() ? (fs::path(HomeDirectory(env)) / ".config").string() : xdg;
}
#endif

// The quoted value of a user-dirs.dirs line (backslash escapes one
// character); false when the quotes are missing or unbalanced.
bool QuotedValue(std::string_view text, std::string& value)
{
    if (text.empty() || text.front() != '"')
        return false;
    value.clear();
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '"')
            return true;
        if (text[i] == '\\' && i + 1 < text.size())
            ++i;
        value += text[i];
    }
    return false;
}
} // namespace

std::string UserDirsDocuments(const std::string& text, const std::string& home)
{
    const std::string_view key = "XDG_DOCUMENTS_DIR=";
    std::string result;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line = std::string_view(text).substr(start, end - start);
        start = end + 1;
        std::size_t indent = line.find_first_not_of(" \t");
        line.remove_prefix(indent == std::string_view::npos ? line.size() : indent);
        std::string value;
        if (line.substr(0, key.size()) != key || !QuotedValue(line.substr(key.size()), value))
            continue;
        // Like the shell that reads this file, the last assignment wins.
        if (value == "$HOME" || value.rfind("$HOME/", 0) == 0)
            result = home + value.substr(5);
        else if (!value.empty() && value.front() == '/')
            result = value;
    }
    return result;
}

std::string PerUserDirectory(const TEnvironment& env)
{
#ifdef _WIN32
    std::string appData = env("APPDATA");
    return IncludeTrailingPathDelimiter((FileSystemPath(appData.empty() ? "." : appData) / "Velmora").string());
#else
    return IncludeTrailingPathDelimiter((fs::path(ConfigHome(env)) / "velmora").string());
#endif
}

std::string DocumentsDirectory(const TEnvironment& env)
{
    std::string home = HomeDirectory(env);
#ifndef _WIN32
    std::string userDirs;
    if (ReadWholeFile((fs::path(ConfigHome(env)) / "user-dirs.dirs").string(), userDirs)) {
        std::string documents = UserDirsDocuments(userDirs, home);
        if (IsDirectory(documents))
            return IncludeTrailingPathDelimiter(documents);
    }
#endif
    std::string documents = (FileSystemPath(home) / "Documents").string();
    return IncludeTrailingPathDelimiter(IsDirectory(documents) ? documents : home);
}

std::string ProgramDirectory(const std::string& executableDir, const TEnvironment& env)
{
    if (KeepsFilesBesideExecutable(executableDir))
        return IncludeTrailingPathDelimiter(executableDir);
    std::string dir = PerUserDirectory(env);
    std::error_code ec;
    fs::create_directories(FileSystemPath(dir), ec);
    return dir;
}

std::string UserFilesDirectory(const std::string& executableDir, const TEnvironment& env)
{
    if (KeepsFilesBesideExecutable(executableDir))
        return IncludeTrailingPathDelimiter(executableDir);
    return DocumentsDirectory(env);
}

} // namespace velmora
