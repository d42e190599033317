// Path helpers. Paths are byte strings; the separator is the platform's, and
// on POSIX ":" is an ordinary character rather than a drive mark.
#pragma once

#include <filesystem>
#include <string>

namespace velmora {

#ifdef _WIN32
inline constexpr char PathDelim = '\\';
#else
inline constexpr char PathDelim = '/';
#endif

// The path as the file-system functions take it. Paths are UTF-8 inside the
// program; on Windows they become the system's UTF-16 names here (a plain
// std::string would be read in the C runtime's code page instead).
std::filesystem::path FileSystemPath(const std::string& path);

// True for the characters that end a directory name or drive in a path.
bool IsPathDelimiter(char c);
// True for the characters after which a file name starts (separator, and ":" on Windows).
bool IsFileNameBoundary(char c);

// The text after the last separator (or drive colon on Windows).
std::string ExtractFileName(const std::string& path);
// The directory part, including its trailing separator.
std::string ExtractFilePath(const std::string& path);
std::string IncludeTrailingPathDelimiter(const std::string& dir);
// Replaces the text from the file name's last "." on by ext, or appends ext.
std::string ChangeFileExt(const std::string& path, const std::string& ext);

// The running program's full path, or an empty string when it cannot be found.
std::string ExecutablePath();
// Where the program keeps its settings file, default profile and default
// destination: the executable's directory when it is writable, else the
// per-user directory, created when missing: $XDG_CONFIG_HOME/velmora
// (~/.config/velmora), on Windows %APPDATA%\Velmora. Always ends with a separator.
std::string ProgramDirectory(const std::string& executableDir);

} // namespace velmora
