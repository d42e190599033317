// The commands of velmora-cli, each returning the program's exit status.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace velmora::cli {

// Exit statuses: done (files skipped by choice included); the work failed (a
// file not converted, a file not written); the command was called wrongly or
// its input cannot be used; stopped by a signal, as shells report it (128 +
// the signal: 130 after Ctrl-C).
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailed = 1;
inline constexpr int ExitUsage = 2;
inline constexpr int ExitSignalBase = 128;

// Where a command runs: the program directory (settings file, default profile),
// the default folder of dumps and pages, and the standard streams with what
// they are connected to.
struct TCliContext {
    std::string ProgramDir;   // ends with a separator
    std::string UserFilesDir; // ends with a separator; empty: ProgramDir
    std::FILE* Out = stdout;
    std::FILE* Err = stderr;
    int InputFd = 0;
    bool InputIsTerminal = false;
    bool ErrIsTerminal = false;
};

struct TConvertRequest {
    std::optional<std::string> ProfileFile;
    std::optional<std::string> DestDir;
    std::optional<std::string> ImagesDir;
    std::optional<std::string> Existing; // "skip", "ask" or "overwrite"
    bool EscapeText = false;                // escape HTML in dump text, this run only
    std::optional<std::string> ColorCodes;  // "keep", "remove" or "colors", this run only
    std::optional<std::string> PageStyle;   // "classic" or "modern", this run only
    std::optional<std::string> KeepLines;   // "all", "events" or "chat", this run only
    bool WriteIndex = false;                // write the index page, this run only
    bool PlayerStats = false;               // count player stats, this run only
    bool Quiet = false;   // no progress bars, no lines of files done, no notes
    bool Summary = false; // a closing line with the number of files of each outcome
    std::vector<std::string> Dumps;
};

struct TStatsRequest {
    bool Json = false; // one JSON object instead of the table
    std::vector<std::string> Dumps;
};

int RunConvert(const TConvertRequest& request, const TCliContext& context);
int RunStats(const TStatsRequest& request, const TCliContext& context);
int RunProfileShow(const std::string& fileName, bool asJson, const TCliContext& context);
// jsonFile: empty for none, "-" for standard input.
int RunProfileNew(const std::string& fileName, const std::string& jsonFile, bool force, const TCliContext& context);

// The program's name in its own messages.
inline constexpr const char* ProgramName = "velmora-cli";

// After the profile's own message: the file and why it could not be read,
// with how to make one when it does not exist.
void ReportUnreadableProfile(const std::string& fileName, const TCliContext& context);

} // namespace velmora::cli
