// "velmora-cli convert": runs the conversion engine over a profile's file list
// with terminal stand-ins for the window's controls and questions.
#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>

#include "cli/UCommands.h"
#include "cli/UFileReasons.h"
#include "cli/UInterrupt.h"
#include "cli/UProfileJson.h"
#include "cli/UTerminalControls.h"
#include "cli/UTerminalDialogs.h"
#include "conversion/UConvertClass.h"
#include "platform/UFiles.h"
#include "platform/UPaths.h"
#include "platform/UPlatform.h"
#include "platform/URegistry.h"
#include "settings/UCustomIni.h"
#include "settings/UHighLighter.h"

namespace fs = std::filesystem;

namespace velmora::cli {

namespace {

// The window's settings file in the program directory, and the base name the
// window gives it.
constexpr const char* SettingsBaseName = "velmora";

// A path as the window's file dialogs give it: absolute, so that the page of a
// relative dump lands in the destination directory and the list sorts as usual.
std::string AbsolutePath(const std::string& path)
{
    std::error_code ec;
    fs::path absolute = fs::absolute(FileSystemPath(path), ec);
    return ec ? path : absolute.lexically_normal().string();
}

// The window's current profile: the first recent profile of its settings file
// (read only; loading it may also set the shared default colours).
std::string CurrentProfileFile(TSettingsAction& settingsAction, const TCliContext& context)
{
    TCustomIni ini(SettingsFileName(context.ProgramDir, SettingsBaseName), &settingsAction, context.ProgramDir);
    ini.LoadSettings();
    return ini.GetCurrentProfile();
}

// Loads fileName into profile; a missing current profile leaves its default
// values. False when the file cannot be read, after the profile's own message
// and the reason.
bool LoadProfile(const std::string& fileName, bool isCurrentProfile, THighlightProfile& profile,
                 const TCliContext& context)
{
    std::error_code ec;
    if (isCurrentProfile && !fs::exists(FileSystemPath(fileName), ec)) {
        std::fprintf(context.Err, "%s: the current profile %s does not exist; converting with default values\n",
                     ProgramName, fileName.c_str());
        return true;
    }
    if (profile.LoadFromFile(fileName))
        return true;
    ReportUnreadableProfile(fileName, context);
    return false;
}

// The command line's values for this run only; the profile file is not written.
void ApplyOverrides(const TConvertRequest& request, TIOOptions& io, TAppOptions& app)
{
    if (request.EscapeText)
        app.SetEscapeText(true);
    if (TColorCodes codes; request.ColorCodes && ColorCodesFromWord(*request.ColorCodes, codes))
        app.SetColorCodes(codes);
    if (TPageStyle style; request.PageStyle && PageStyleFromWord(*request.PageStyle, style))
        app.SetPageStyle(style);
    if (TKeepLines keep; request.KeepLines && KeepLinesFromWord(*request.KeepLines, keep))
        app.SetKeepLines(keep);
    if (request.WriteIndex)
        app.SetWriteIndex(true);
    if (request.PlayerStats)
        app.SetPlayerStats(true);
    if (!request.Dumps.empty()) {
        std::vector<std::string> paths;
        for (const std::string& dump : request.Dumps)
            paths.push_back(AbsolutePath(dump));
        io.FFiles.clear();
        io.AddFiles(paths);
    }
    if (request.DestDir)
        io.SetDestDir(AbsolutePath(*request.DestDir));
    if (request.ImagesDir)
        io.SetDestImgDir(AbsolutePath(*request.ImagesDir));
    if (request.Existing == "skip") {
        io.SetSkipExisting(true);
    } else if (request.Existing == "ask") {
        io.SetSkipExisting(false);
        io.SetPromptOnOverwrite(true);
    } else if (request.Existing == "overwrite") {
        io.SetSkipExisting(false);
        io.SetPromptOnOverwrite(false);
    }
}

// How a file's run ended, for the summary and the exit status: a file skipped
// by choice (the skip option, a "no" answer) is no failure.
enum class TOutcome { Converted, Skipped, Failed, Other };

TOutcome OutcomeOf(const TFileItem& item)
{
    switch (item.Status ? item.Status->Status : StatusCode::Ready) {
    case StatusCode::Converted:
    case StatusCode::Overwritten:
        return TOutcome::Converted;
    case StatusCode::SkippedByAnswer:
    case StatusCode::SkippedExisting:
        return TOutcome::Skipped;
    case StatusCode::ReadError:
    case StatusCode::WriteError:
        return TOutcome::Failed;
    default:
        return TOutcome::Other; // not started, or stopped
    }
}

std::size_t CountOf(const TIOOptions& io, TOutcome outcome)
{
    return static_cast<std::size_t>(std::count_if(io.FFiles.begin(), io.FFiles.end(),
                                                  [outcome](const TFileItem& item) { return OutcomeOf(item) == outcome; }));
}

bool IsWritten(const TFileItem& item)
{
    return OutcomeOf(item) == TOutcome::Converted;
}

// Why the page of files[row] was not written: a page of the same name that an
// earlier file of the run wrote, a dump of the run in its place, or what
// keeps the folder from being written; empty when none of these is known.
std::string WhyNotWritten(const std::vector<TFileItem>& files, std::size_t row, const TConvertClass& engine)
{
    const std::string output = engine.OutputFileName(files[row].Path);
    for (std::size_t i = 0; i < row; ++i)
        if (IsWritten(files[i]) && SameFile(engine.OutputFileName(files[i].Path), output))
            return "the page " + output + " was written from " + files[i].Path + " earlier in this run";
    for (const TFileItem& item : files)
        if (SameFile(item.Path, output))
            return "the page would replace the dump " + item.Path;
    if (engine.IsIndexPage(output))
        return "the index page of the run takes that name";
    return WhyUnwritable(output);
}

// "PATH: STATUS TEXT", with " -> OUTPUT" when a page was written and the
// reason when the dump could not be read or its page not written.
std::string StatusLine(const std::vector<TFileItem>& files, std::size_t row, const std::string& text,
                       const TConvertClass& engine)
{
    const TFileItem& item = files[row];
    std::string line = item.Path + ": " + text;
    if (IsWritten(item))
        line += " -> " + engine.OutputFileName(item.Path);
    std::string reason;
    if (item.Status && item.Status->Status == StatusCode::ReadError)
        reason = WhyUnreadable(item.Path);
    else if (item.Status && item.Status->Status == StatusCode::WriteError)
        reason = WhyNotWritten(files, row, engine);
    if (!reason.empty())
        line += " (" + reason + ")";
    return line;
}

int RunEngine(THighlightProfile& profile, TTerminalMessageBoxes& boxes, TTerminalProgress& progress,
              TTerminalListView& listView, const TConvertRequest& request, const TCliContext& context)
{
    TIOOptions& io = profile.IOOptions();
    TInterruptGuard interrupt;
    // Ctrl-C reaches the engine the way the window's stop command does:
    // through the message pump, at the top of a file and every few lines.
    TConvertClass engine(&boxes, [&interrupt, &engine] {
        if (interrupt.Requested())
            engine.Stop();
    });
    boxes.SetCancelCheck([&interrupt, &engine] {
        if (interrupt.Requested())
            engine.Stop();
        return interrupt.Requested();
    });
    // Missing output directories are made by the engine before the first file.
    engine.SetOnDirectoryCreated([&request, &context](const std::string& what, const std::string& dir) {
        if (!request.Quiet)
            std::fprintf(context.Err, "%s: created the %s directory %s\n", ProgramName, what.c_str(), dir.c_str());
    });
    // Quiet: only the lines of failed files, on standard error with the other problems.
    listView.SetOnStatus([&progress, &io, &engine, &request, &context](int row, const std::string& text) {
        if (row < 0 || static_cast<std::size_t>(row) >= io.FFiles.size())
            return;
        const TFileItem& item = io.FFiles[static_cast<std::size_t>(row)];
        if (request.Quiet && OutcomeOf(item) != TOutcome::Failed)
            return;
        std::FILE* stream = request.Quiet ? context.Err : context.Out;
        progress.Clear();
        std::fprintf(stream, "%s\n", StatusLine(io.FFiles, static_cast<std::size_t>(row), text, engine).c_str());
        std::fflush(stream);
    });

    // Without a drawn bar the engine need not count a dump's lines first.
    engine.SetControls(&progress.TotalBar(), progress.Enabled() ? &progress.FileBar() : nullptr, &listView);
    engine.SetOptions(&profile.HTMLOptions(), &profile.AppOptions(), &io, &profile.Names());
    std::string message;
    bool ok = engine.Convert(message);
    // The hooks refer to this function's engine and guard.
    listView.SetOnStatus(nullptr);
    boxes.SetCancelCheck(nullptr);
    progress.Clear();
    if (interrupt.Requested()) {
        std::fprintf(context.Err, "Canceled by user\n");
        return ExitSignalBase + interrupt.Signal();
    }
    // A run refused before any file (no destination set) gives no status.
    bool started = std::any_of(io.FFiles.begin(), io.FFiles.end(), [](const TFileItem& item) { return !!item.Status; });
    if (!ok && !started) {
        std::fprintf(context.Err, "%s: %s\n", ProgramName, message.c_str());
        return ExitUsage;
    }
    std::size_t failed = CountOf(io, TOutcome::Failed);
    if (request.Summary) {
        std::string summary = std::to_string(CountOf(io, TOutcome::Converted)) + " converted, " +
                              std::to_string(CountOf(io, TOutcome::Skipped)) + " skipped, " +
                              std::to_string(failed) + " failed\n";
        std::fputs(summary.c_str(), context.Out);
    }
    if (failed == 0)
        return ExitOk;
    std::fprintf(context.Err, "One or more files were not converted\n");
    return ExitFailed;
}

} // namespace

int RunConvert(const TConvertRequest& request, const TCliContext& context)
{
    TTerminalProgress progress(context.Err, context.ErrIsTerminal && !request.Quiet);
    TTerminalListView listView;
    TTerminalMessageBoxes boxes(context.Err, context.InputFd, context.InputIsTerminal);
    boxes.SetBeforeOutput([&progress] { progress.Clear(); });

    TSystemRegistry registry;
    TPlatform platform{&registry, &boxes, context.ProgramDir, context.UserFilesDir};
    TSettingsAction settingsAction(nullptr);
    // The settings file is read before the profile is made, so that a fresh
    // profile starts from its default colours as it would in the window.
    std::string fileName = request.ProfileFile ? *request.ProfileFile : CurrentProfileFile(settingsAction, context);
    THighlightProfile profile(&settingsAction, platform);
    if (!LoadProfile(fileName, !request.ProfileFile, profile, context))
        return ExitUsage;

    TIOOptions& io = profile.IOOptions();
    ApplyOverrides(request, io, profile.AppOptions());

    io.BindControls(&listView, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    io.UpdateFileList();
    return RunEngine(profile, boxes, progress, listView, request, context);
}

} // namespace velmora::cli
