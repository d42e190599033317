// Path helpers. Paths are byte strings; the separator is the platform's, and
// on POSIX ":" is an ordinary character rather than a drive mark.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace velmora {

#ifdef _WIN32
inline constexpr char PathDelim = '\\';
// Whether the file system takes "Chat.txt" and "chat.txt" for one file.
inline constexpr bool PathsIgnoreCase = true;
#else
inline constexpr char PathDelim = '/';
inline constexpr bool PathsIgnoreCase = false;
#endif

// File paths compared as the platform's file system compares them: exactly
// on Linux, ignoring case (by the user's locale) on Windows.
bool SamePath(const std::string& a, const std::string& b);
// The order of a list of paths: ignoring case, and among paths that differ
// only in case but name different files, by their bytes. <0, 0 or >0 like
// strcmp; 0 exactly when SamePath.
int ComparePaths(const std::string& a, const std::string& b);
// Sorts paths by ComparePaths and keeps only the first of paths that are the
// same path. Each path is folded once, not at every comparison.
void SortUniquePaths(std::vector<std::string>& paths);
// The path as the file-system functions take it. Paths are UTF-8 inside the
// program; on Windows they become the system's UTF-16 names here (a plain
// std::string would be read in the C runtime's code page instead).
std::filesystem::path FileSystemPath(const std::string& path);
// And back: a path of the file-system functions as the program's UTF-8.
std::string PathText(const std::filesystem::path& path);

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

// Reads an environment variable: its value, or an empty string when unset.
// Tests hand in their own so that no real home folder is touched.
using TEnvironment = std::function<std::string(const char* name)>;
std::string ProcessEnvironment(const char* name);

// The per-user folder for settings: $XDG_CONFIG_HOME/velmora, by default
// ~/.config/velmora; on Windows %APPDATA%\Velmora. Ends with a separator; not created here.
std::string PerUserDirectory(const TEnvironment& env);
// The user's documents folder: XDG_DOCUMENTS_DIR of user-dirs.dirs when it
// exists (not on Windows), else ~/Documents when it exists, else the home
// folder. Ends with a separator.
std::string DocumentsDirectory(const TEnvironment& env);
// The documents folder that a user-dirs.dirs text names, with $HOME replaced
// by home; empty when it names none or the line is malformed.
std::string UserDirsDocuments(const std::string& text, const std::string& home);

// Where the program keeps its settings file and default profile: the
// executable's directory when it is writable and not an installed program's
// (a bin folder beside share/applications/ holding the desktop entry), else the
// per-user folder, created when missing. Always ends with a separator.
std::string ProgramDirectory(const std::string& executableDir, const TEnvironment& env = ProcessEnvironment);
// Where dumps are looked for and pages written by default: the program
// directory when that is the executable's own, else the documents folder, so
// that an installed program never writes beside itself.
std::string UserFilesDirectory(const std::string& executableDir, const TEnvironment& env = ProcessEnvironment);

} // namespace velmora
