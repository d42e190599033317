// velmora-cli: converts Quake 3 Arena console dumps to HTML pages and shows or
// makes profiles, without a display. Parses the command line and dispatches.
#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <CLI/CLI.hpp>

#include "cli/UCommands.h"
#include "cli/UManualPage.h"
#include "cli/UProfileJson.h"
#include "cli/UUsage.h"
#include "platform/UPaths.h"
#include "platform/UText.h"

using namespace velmora;
using namespace velmora::cli;

namespace {

const char* const ProgramDescription = R"(Turns Quake 3 Arena console dumps into HTML pages without a display, and shows
or makes the profile files that the Velmora window saves. A profile holds
everything a conversion uses: the list of dumps, the page's title, colours,
images and custom HTML, the names to highlight, the destination directories and
what to do with an existing page. Each dump becomes one page named after it
with the extension .htm; the images that a page refers to are copied into the
images directory.
)";

const char* const ExitStatusHelp = R"(
Exit status:
  0    done: every file converted or skipped by choice (the skip option, a
       "no" answer), or nothing to do; the profile shown or written
  1    a file could not be converted (the reason on its line), or a file
       could not be written
  2    usage error, a directory that cannot be used, a profile or JSON text
       that cannot be read
  130  stopped by Ctrl-C (143 by SIGTERM))";

const char* const ConvertFooter = R"(
Without --profile the window's current profile is used (the first recent profile
of its settings file velmora.ini); neither it nor the settings file is ever
written. DUMP arguments replace the profile's file list for this run.

Output: one line per file on standard output, as soon as the file is done:
  PATH: STATUS TEXT[ -> PAGE PATH]
the page path being given when a page was written (the status "Converted" or
"Converted. Overwritten existing file"). A terminal on standard error shows
progress bars.

--quiet is for scripts, which learn the outcome from the exit status: standard
output stays empty and standard error gets only what needs attention, the line
of each file that failed (in the form above) and the messages of problems.
--summary ends the run with one line on standard output, with or without
--quiet (not after a stop): "N converted, N skipped, N failed".

A missing destination or images directory, given on the command line or in
the profile, is made before the first file, parents included (said on
standard error). One that cannot be made, or a path there that is not a
directory, stops the run before the first file with the reason (status 2).

--existing ask asks on the terminal (yes, no, no to all, yes to all) when
standard input is a terminal; otherwise the file is skipped with the status
"Not converted. Skipped existing file".

Ctrl-C (or SIGTERM) stops the run: the file being converted reads "Canceled by
user" and no further file is started; a second one ends the program at once,
leaving no temporary file behind.
)";

const char* const StatsFooter = R"(
Counts what each player said and did in the dumps, all of them together: chat
lines (chat, team chat and private messages), the words in them, kills,
deaths, suicides, the weapon of most kills, and whom each player killed most
and was killed by most. No profile is needed.

Players are told apart by their names without colour codes. A player who
renamed ("A renamed to B", or in a server log a new name for a client within
one game) is counted under the last name, with the earlier names listed. The
world's kills (falling, lava) are deaths only; a player killing themself has a
death and a suicide, no kill.

Output: a table, one row per player, most chat lines first. With --json, one
object: "dumps" (those counted) and "players", each with "name", "chat",
"words", "kills", "deaths", "suicides", "topWeapon", "weapons" (kills by the
server's means of death, such as "MOD_RAILGUN"), "mostKilled",
"mostKilledTimes", "mostKilledBy", "mostKilledByTimes" and "earlierNames".

Exit status:
  0    every dump counted
  1    a dump could not be read (the reason on standard error); the others
       are counted all the same
  2    usage error)";

const char* const ProfileShowFooter = R"(
The keys of the JSON object are listed by "velmora-cli profile --help".)";

const char* const ProfileNewFooter = R"(
A new profile has the values that the window gives one, the page colours
coming from the settings file when it says so ("Use ini defaults"). The JSON
object may hold any subset of the keys listed by "velmora-cli profile --help";
"names" entries need "name". An unknown key or a value of the wrong type is a
usage error (exit 2). Exit 1 when the file cannot be written.)";

#ifdef _WIN32
// The arguments in UTF-8, the program's encoding of file names: main()
// receives them in the system's code page, which cannot hold every name.
std::vector<std::string> Utf8Arguments()
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 0; i < count; ++i)
        args.push_back(Utf8Text(wide[i]));
    LocalFree(wide);
    return args;
}

// The console of Windows 10 and later draws the progress line's escape
// sequences once asked to; false where it cannot.
bool EnableEscapeSequences(DWORD stdHandle)
{
    HANDLE console = GetStdHandle(stdHandle);
    DWORD mode = 0;
    return GetConsoleMode(console, &mode) &&
           SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING | ENABLE_PROCESSED_OUTPUT);
}
#endif

TCliContext MakeContext()
{
    TCliContext context;
    std::string executableDir = ExtractFilePath(ExecutablePath());
    context.ProgramDir = ProgramDirectory(executableDir);
    context.UserFilesDir = UserFilesDirectory(executableDir);
#ifdef _WIN32
    context.InputIsTerminal = _isatty(_fileno(stdin)) != 0;
    context.ErrIsTerminal = _isatty(_fileno(stderr)) != 0 && EnableEscapeSequences(STD_ERROR_HANDLE);
#else
    context.InputIsTerminal = isatty(STDIN_FILENO) != 0;
    context.ErrIsTerminal = isatty(STDERR_FILENO) != 0;
#endif
    return context;
}

} // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
#ifdef _WIN32
    // File names are printed as they are held, in UTF-8.
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> utf8Args = Utf8Arguments();
    std::vector<char*> utf8Argv;
    for (std::string& arg : utf8Args)
        utf8Argv.push_back(arg.data());
    utf8Argv.push_back(nullptr);
    argc = static_cast<int>(utf8Args.size());
    argv = utf8Argv.data();
#endif

    CLI::App app{ProgramDescription, ProgramName};
    app.set_version_flag("--version", std::string(ProgramName) + " " + VELMORA_VERSION);
    // At most one command here, checked after parsing, so that an unknown
    // option is named before a missing command is.
    app.require_subcommand(0, 1);
    app.footer(ExitStatusHelp);
    // For the build, which makes the manual page from these definitions.
    bool manualPage = false;
    app.add_flag("--manual-page", manualPage, "Print the manual page's sections made from this help")->group("");

    TConvertRequest convert;
    CLI::App* convertCmd = app.add_subcommand("convert", "Convert dumps to HTML pages with a profile");
    convertCmd->add_option("--profile", convert.ProfileFile, "Profile file (default: the window's current profile)")
        ->type_name("FILE");
    convertCmd->add_option("--dest", convert.DestDir, "Directory for the pages, this run only")->type_name("DIR");
    convertCmd->add_option("--images", convert.ImagesDir, "Directory for the images, this run only")->type_name("DIR");
    convertCmd->add_option("--existing", convert.Existing, "What to do with an existing page, this run only")
        ->check(CLI::IsMember({"skip", "ask", "overwrite"}))
        ->option_text("skip|ask|overwrite");
    convertCmd->add_flag("--escape-text", convert.EscapeText, "Escape HTML in dump text, this run only");
    convertCmd->add_option("--color-codes", convert.ColorCodes, "Game colour codes in dump text, this run only")
        ->check(CLI::IsMember({"keep", "remove", "colors"}))
        ->option_text("keep|remove|colors");
    convertCmd->add_option("--style", convert.PageStyle, "Page style, this run only")
        ->check(CLI::IsMember({"classic", "modern"}))
        ->option_text("classic|modern");
    convertCmd->add_option("--keep", convert.KeepLines, "Lines a modern page keeps, this run only")
        ->check(CLI::IsMember({"all", "events", "chat"}))
        ->option_text("all|events|chat");
    convertCmd->add_flag("--index", convert.WriteIndex, "Write the index page of modern pages, this run only");
    convertCmd->add_flag("--stats", convert.PlayerStats, "Count player stats on modern pages, this run only");
    convertCmd->add_flag("--quiet", convert.Quiet, "No progress bars, and only the lines of failed files (on standard error)");
    convertCmd->add_flag("--summary", convert.Summary, "End with one line: N converted, N skipped, N failed");
    convertCmd->add_option("DUMP", convert.Dumps, "Dump files to convert instead of the profile's list")->type_name("");
    convertCmd->footer(std::string(ConvertFooter) + ExitStatusHelp);

    TStatsRequest stats;
    CLI::App* statsCmd = app.add_subcommand("stats", "Count what each player said and did in dumps");
    statsCmd->add_flag("--json", stats.Json, "One JSON object instead of the table");
    statsCmd->add_option("DUMP", stats.Dumps, "Dump files to count")->required()->type_name("");
    statsCmd->footer(StatsFooter);

    CLI::App* profileCmd = app.add_subcommand("profile", "Show or make a profile file");
    profileCmd->require_subcommand(1);
    profileCmd->footer(ProfileJsonHelp());
    std::string showFile;
    bool showJson = false;
    CLI::App* showCmd = profileCmd->add_subcommand("show", "Show every value of a profile");
    showCmd->add_option("FILE", showFile, "Profile file")->required()->type_name("");
    showCmd->add_flag("--json", showJson, "One JSON object instead of the readable layout");
    showCmd->footer(ProfileShowFooter);

    std::string newFile, newJson;
    bool newForce = false;
    CLI::App* newCmd = profileCmd->add_subcommand("new", "Write a profile with default values");
    newCmd->add_option("FILE", newFile, "Profile file to write")->required()->type_name("");
    newCmd->add_option("--from-json", newJson, "JSON file with values to set, or - for standard input")
        ->type_name("FILE");
    newCmd->add_flag("--force", newForce, "Replace an existing file");
    newCmd->footer(ProfileNewFooter);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == 0) // --help, --version
            return app.exit(error);
        std::fputs(UsageMessage(app, error).c_str(), stderr);
        return ExitUsage;
    }

    if (manualPage) {
        std::fputs(ManualPageSections(app).c_str(), stdout);
        return ExitOk;
    }
    if (app.get_subcommands().empty()) {
        std::fprintf(stderr, "%s: a command is required\n%s", ProgramName, app.help().c_str());
        return ExitUsage;
    }
    TCliContext context = MakeContext();
    if (convertCmd->parsed())
        return RunConvert(convert, context);
    if (statsCmd->parsed())
        return RunStats(stats, context);
    if (showCmd->parsed())
        return RunProfileShow(showFile, showJson, context);
    return RunProfileNew(newFile, newJson, newForce, context);
}
