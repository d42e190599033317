// Path helpers. Paths are byte strings; the separator is the platform's, and
// on POSIX ":" is an ordinary character rather than a drive mark.
#pragma once

#include <string>

namespace velmora {

#ifdef _WIN32
inline constexpr char PathDelim = '\\';
#else
inline constexpr char PathDelim = '/';
#endif

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
