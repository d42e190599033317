// "velmora-cli profile show" and "profile new": a profile file shown in a
// readable layout or as JSON, and a new profile file made from JSON.
#include <filesystem>
#include <iostream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "cli/UCommands.h"
#include "cli/UFileReasons.h"
#include "cli/UProfileJson.h"
#include "cli/UTerminalDialogs.h"
#include "conversion/UConvertClass.h"
#include "platform/UFiles.h"
#include "platform/UPaths.h"
#include "platform/UPlatform.h"
#include "platform/UText.h"
#include "platform/URegistry.h"
#include "settings/UCustomIni.h"
#include "settings/UHighLighter.h"

namespace fs = std::filesystem;

namespace velmora::cli {

namespace {

constexpr const char* SettingsBaseName = "velmora";

// The objects a profile needs from its platform, without a window.
struct TProfileHost {
    explicit TProfileHost(const TCliContext& context)
        : Boxes(context.Err, context.InputFd, false), Platform{&Registry, &Boxes, context.ProgramDir, context.UserFilesDir}
    {
    }
    TTerminalMessageBoxes Boxes;
    TSystemRegistry Registry;
    TPlatform Platform;
    TSettingsAction SettingsAction{nullptr};
};

const char* YesNo(bool value)
{
    return value ? "yes" : "no";
}

std::string Color(TColor color)
{
    return std::to_string(color) + " (" + ColorToHTML(color) + ")";
}

// A value that may span lines, each further line indented under the first.
std::string Block(const std::string& text, const std::string& indent)
{
    std::string lines = WithLineEnds(text, "\n");
    std::string result;
    for (char c : lines) {
        result += c;
        if (c == '\n')
            result += indent;
    }
    return result;
}

void Line(std::ostringstream& out, const std::string& label, const std::string& value)
{
    out << "  " << label << ": " << Block(value, "    ") << '\n';
}

// The captions of the window's drop-down "Game colour codes".
std::string ColorCodesCaption(TColorCodes codes)
{
    switch (codes) {
    case TColorCodes::Remove:
        return "Remove";
    case TColorCodes::Colors:
        return "Show as colours";
    case TColorCodes::Keep:
        break;
    }
    return "Keep as written";
}

// The captions of the page style options' drop-downs.
std::string PageStyleCaption(TPageStyle style)
{
    return style == TPageStyle::Modern ? "Modern" : "Classic";
}

std::string KeepLinesCaption(TKeepLines keep)
{
    switch (keep) {
    case TKeepLines::Events:
        return "Chat and game events";
    case TKeepLines::Chat:
        return "Chat only";
    case TKeepLines::All:
        break;
    }
    return "All lines";
}

// Every value of the profile, labelled with the window's captions where it has them.
std::string ProfileText(THighlightProfile& profile)
{
    std::ostringstream out;
    const THTMLOptions& html = profile.HTMLOptions();
    out << "HTML options\n";
    Line(out, "Background colour", Color(html.FBackColor));
    Line(out, "Text colour", Color(html.FTextColor));
    Line(out, "Link colour", Color(html.FLinkColor));
    Line(out, "Visited link colour", Color(html.FVisLinkColor));
    Line(out, "Treat long lines as broken", YesNo(html.FBrokenLines));
    Line(out, "Save relative images directory", YesNo(html.FRelImages));
    Line(out, "Background image", html.FBackImage);
    Line(out, "Custom HTML at the top of the page", html.FFrontPageHTML);
    Line(out, "Custom HTML at the end of the page", html.FEndPageHTML);
    Line(out, "Title", html.FTitle);
    Line(out, "Author", html.FAuthor);

    out << "General options\n";
    const TAppOptions& app = profile.AppOptions();
    Line(out, "Highlighting ignores letter case", YesNo(app.FCaseSensitive));
    Line(out, "Escape HTML in dump text", YesNo(app.FEscapeText));
    Line(out, "Game colour codes", ColorCodesCaption(app.FColorCodes));
    Line(out, "Page style", PageStyleCaption(app.FPageStyle));
    Line(out, "Lines to keep", KeepLinesCaption(app.FKeepLines));
    Line(out, "Write an index page", YesNo(app.FWriteIndex));
    Line(out, "Player stats", YesNo(app.FPlayerStats));

    const TIOOptions& io = profile.IOOptions();
    out << "Input/output options\n";
    Line(out, "Prompt before overwriting existing files", YesNo(io.FPromptOnOverwrite));
    Line(out, "Skip existing files", YesNo(io.FSkipExisting));
    Line(out, "Input directory", io.FInputDir);
    Line(out, "Destination directory", io.FDestDir);
    Line(out, "Images directory", io.FDestImgDir);
    out << "  Files: " << io.FFiles.size() << '\n';
    for (const TFileItem& item : io.FFiles)
        out << "    " << item.Path << '\n';

    out << "Names: " << profile.Names().size() << '\n';
    THighLightInfo defaults;
    for (const TNameItem& item : profile.Names()) {
        const THighLightInfo& info = item.Info ? *item.Info : defaults;
        out << "  Name: " << Block(item.Name, "    ") << '\n';
        Line(out, "  Colour", Color(info.FColor));
        Line(out, "  Image file", info.FImageFile);
        Line(out, "  HTML before", info.FHTMLBefore);
        Line(out, "  HTML after", info.FHTMLAfter);
    }
    return out.str();
}

// The JSON text to lay over a new profile; "-" reads standard input.
bool ReadJsonText(const std::string& jsonFile, std::string& text)
{
    if (jsonFile != "-")
        return ReadWholeFile(jsonFile, text);
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return !std::cin.bad();
}

// nlohmann's message without its "[json.exception.parse_error.101] " tag.
std::string ParseMessage(const std::exception& error)
{
    std::string what = error.what();
    std::size_t tagEnd = what.find("] ");
    return (what.rfind("[json.exception", 0) == 0 && tagEnd != std::string::npos) ? what.substr(tagEnd + 2) : what;
}

int UsageError(const TCliContext& context, const std::string& text)
{
    std::fprintf(context.Err, "%s: %s\n", ProgramName, text.c_str());
    return ExitUsage;
}

// Reads and applies the JSON file; false after a message naming the problem.
bool ApplyJsonFile(const std::string& jsonFile, THighlightProfile& profile, const TCliContext& context)
{
    std::string text;
    if (!ReadJsonText(jsonFile, text)) {
        std::string reason = jsonFile == "-" ? std::string() : WhyUnreadable(jsonFile);
        UsageError(context, "cannot read " + jsonFile + (reason.empty() ? "" : ": " + reason));
        return false;
    }
    try {
        ApplyProfileJson(nlohmann::json::parse(text), profile);
        return true;
    } catch (const nlohmann::json::exception& error) {
        UsageError(context, jsonFile + ": " + ParseMessage(error));
    } catch (const EProfileJsonError& error) {
        UsageError(context, jsonFile + ": " + error.what());
    }
    return false;
}

} // namespace

int RunProfileShow(const std::string& fileName, bool asJson, const TCliContext& context)
{
    TProfileHost host(context);
    THighlightProfile profile(&host.SettingsAction, host.Platform);
    if (!profile.LoadFromFile(fileName)) {
        ReportUnreadableProfile(fileName, context);
        return ExitUsage;
    }
    std::string text = asJson ? JsonText(ProfileToJson(profile)) + "\n" : ProfileText(profile);
    std::fwrite(text.data(), 1, text.size(), context.Out);
    return ExitOk;
}

int RunProfileNew(const std::string& fileName, const std::string& jsonFile, bool force, const TCliContext& context)
{
    std::error_code ec;
    if (!force && fs::exists(fs::symlink_status(FileSystemPath(fileName), ec)))
        return UsageError(context, fileName + " already exists; use --force to replace it");

    TProfileHost host(context);
    // A new profile starts from the defaults the window would give it, which
    // its settings file can change ("Use ini defaults"); the file is only read.
    TCustomIni ini(SettingsFileName(context.ProgramDir, SettingsBaseName), &host.SettingsAction, context.ProgramDir);
    ini.LoadSettings();
    THighlightProfile profile(&host.SettingsAction, host.Platform);
    if (!jsonFile.empty() && !ApplyJsonFile(jsonFile, profile, context))
        return ExitUsage;
    if (profile.SaveToFile(fileName))
        return ExitOk;
    std::string reason = WhyUnwritable(fileName);
    std::fprintf(context.Err, "%s: cannot write %s%s%s\n", ProgramName, fileName.c_str(), reason.empty() ? "" : ": ",
                 reason.c_str());
    return ExitFailed;
}

void ReportUnreadableProfile(const std::string& fileName, const TCliContext& context)
{
    std::string reason = WhyUnreadable(fileName);
    if (reason == "not found") {
        std::fprintf(context.Err, "%s: the profile %s does not exist; make one with: %s profile new %s\n",
                     ProgramName, fileName.c_str(), ProgramName, fileName.c_str());
        return;
    }
    std::fprintf(context.Err, "%s: cannot read the profile %s: %s\n", ProgramName, fileName.c_str(),
                 reason.empty() ? "its contents are damaged" : reason.c_str());
}

} // namespace velmora::cli
