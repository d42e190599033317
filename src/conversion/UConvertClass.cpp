// The conversion engine: the batch run over the file list, the overwrite
// decision per file, the page writer and the highlighting of names.
#include "conversion/UConvertClass.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <string_view>

#include "conversion/UDumpLineSource.h"
#include "conversion/UModernPage.h"
#include "conversion/UNameMatcher.h"
#include "conversion/UPageIndex.h"
#include "conversion/UPageSummary.h"
#include "conversion/UPageSink.h"
#include "conversion/UShownText.h"
#include "platform/UControls.h"
#include "platform/UFiles.h"
#include "platform/UPaths.h"
#include "platform/USystemColors.h"
#include "platform/UText.h"
#include "settings/UAppOptions.h"
#include "settings/UHTMLOptions.h"
#include "settings/UHighLighter.h"
#include "settings/UIOOptions.h"

namespace velmora {

namespace {
constexpr std::string_view CRLF = "\r\n";
constexpr std::string_view LineBreakTag = "<BR>";
constexpr std::size_t HeaderItems = 8;
constexpr const char* OverwriteQuestion = "Do you want to replace the existing file?";
} // namespace

// The markup around a line that holds a name: built once per page for every
// name of the list, with a matcher that finds the first listed name of a line.
class TConvertClass::TLineMarker {
public:
    struct TMarkup {
        std::string Prefix;
        std::string Suffix;
    };

    TLineMarker(const TNamesList* names, bool ignoreCase, const std::string& imageDir)
        : FMatcher(NameViews(names), ignoreCase)
    {
        if (!names)
            return;
        // An item without attributes is written with those of a new entry.
        const THighLightInfo defaults;
        FMarkups.reserve(names->size());
        for (const TNameItem& item : *names)
            FMarkups.push_back(MarkupOf(item.Info ? *item.Info : defaults, imageDir));
    }

    // The markup of the first listed name in the line made of first and
    // second (a broken line and the line joined to it), or null.
    bool HasNames() const { return FMatcher.HasNames(); }

    const TMarkup* Find(std::string_view first, std::string_view second = {})
    {
        int k = FMatcher.FirstMatch(first, second);
        return k < 0 ? nullptr : &FMarkups[static_cast<std::size_t>(k)];
    }

private:
    static std::vector<std::string_view> NameViews(const TNamesList* names)
    {
        std::vector<std::string_view> views;
        if (names)
            for (const TNameItem& item : *names)
                views.emplace_back(item.Name);
        return views;
    }

    static TMarkup MarkupOf(const THighLightInfo& info, const std::string& imageDir)
    {
        std::string icon =
            info.FImageFile.empty() ? std::string() : EscapedAttribute(imageDir + ExtractFileName(info.FImageFile));
        TMarkup m;
        m.Prefix = "<FONT color=\"" + ColorToHTML(info.FColor) + "\"> <BR>" + std::string(CRLF) + info.FHTMLBefore +
                   std::string(CRLF) + " <BR> <img src=\"" + icon + "\">";
        m.Suffix = std::string(CRLF) + "<BR> " + info.FHTMLAfter + " </FONT>";
        return m;
    }

    TNameMatcher FMatcher;
    std::vector<TMarkup> FMarkups;
};

// Writes one page in the classic markup: header, dump lines, footer, each
// item followed by CR LF.
class TConvertClass::TPageBuilder {
public:
    TPageBuilder(TConvertClass& engine, TPageSink& sink) : FEngine(engine), FSink(sink) {}

    // Writes the whole page; false when the run was stopped during it.
    bool Write(TDumpLineSource& lines)
    {
        const THTMLOptions& html = *FEngine.FHTMLOptions;
        WriteHeader(html);
        bool complete = WriteLines(lines);
        Item("<BR>", html.FEndPageHTML);
        Item("<!-- Created by Velmora -->");
        Item("</BODY> </HTML>");
        FSink.Finish();
        lines.Finish();
        return complete && FEngine.FRunning;
    }

private:
    static constexpr std::size_t Slack = TPageSink::Slack;
    // "<BR>" and CR LF, stored as one word of which the first 6 bytes count.
    static constexpr char LineEnd[Slack] = {'<', 'B', 'R', '>', '\r', '\n', 0, 0};
    static constexpr std::size_t LineEndSize = 6;

    // One dump line of the page: the markup's prefix, the line (in one or two
    // parts), the markup's suffix, then "<BR>" and CR LF.
    void PutLine(std::string_view prefix, std::string_view first, std::string_view second, std::string_view suffix)
    {
        const std::size_t size = prefix.size() + first.size() + second.size() + suffix.size() + LineEndSize;
        char* out = FSink.Room(size);
        if (!out) {
            FSink.Put({prefix, first, second, suffix, std::string_view(LineEnd, LineEndSize)});
            return;
        }
        out = Append(Append(Append(Append(out, prefix), first), second), suffix);
        std::memcpy(out, LineEnd, Slack); // a fixed-size store; the sink's slack covers its tail
    }

    // The same for a line without markup, the most common case.
    void PutLine(std::string_view first, std::string_view second)
    {
        char* out = FSink.Room(first.size() + second.size() + LineEndSize);
        if (!out) {
            FSink.Put({first, second, std::string_view(LineEnd, LineEndSize)});
            return;
        }
        std::memcpy(out, first.data(), first.size()); // never null: a view into the dump's window
        if (!second.empty())
            out = Append(out + first.size(), second);
        else
            out += first.size();
        std::memcpy(out, LineEnd, Slack);
    }

    // A line whose text the page changes (escaped characters, colour codes).
    // Names are looked for in the text as the reader sees it: without codes
    // when they are removed or shown as colours. A highlighted line is shown
    // as `highlighted` says: its codes would hide the name's colour.
    void PutShownLine(std::string_view first, std::string_view second, TLineMarker* marker, const TShownText& plain,
                      const TShownText& highlighted)
    {
        std::string_view line = first;
        if (!second.empty()) {
            FJoined.assign(first).append(second);
            line = FJoined;
        }
        const TLineMarker::TMarkup* markup = nullptr;
        if (marker)
            markup = marker->Find(plain.HidesCodes() ? plain.WithoutCodes(line, FSeen) : line);
        const TShownText& shown = markup ? highlighted : plain;
        const std::string_view prefix = markup ? std::string_view(markup->Prefix) : std::string_view();
        const std::string_view suffix = markup ? std::string_view(markup->Suffix) : std::string_view();
        // Written in place when the longest it can become fits a block.
        const std::size_t most = prefix.size() + TShownText::MaxShownSize(line.size()) + suffix.size() + LineEndSize;
        if (char* out = FSink.Space(most)) {
            out = Append(out, prefix);
            out = Append(shown.Write(out, line), suffix);
            std::memcpy(out, LineEnd, Slack);
            FSink.Used(out + LineEndSize);
            return;
        }
        FShown.clear();
        shown.Append(FShown, line);
        PutLine(prefix, FShown, {}, suffix);
    }

    static char* Append(char* out, std::string_view piece) { return TPageSink::Append(out, piece); }

    void Item(std::string_view a, std::string_view b = {}, std::string_view c = {}) { FSink.Item(a, b, c); }

    void WriteHeader(const THTMLOptions& html)
    {
        // Colours are "#" and hexadecimal digits; the other values are escaped.
        Item(R"(<HTML><META name="author" content=")", EscapedAttribute(html.FAuthor), R"(">)");
        Item("<TITLE>", html.FTitle, "</TITLE></HEAD>");
        Item(R"(<BODY BGCOLOR=")", ColorToHTML(html.FBackColor), R"(")");
        Item(R"(TEXT=")", ColorToHTML(html.FTextColor), R"(")");
        Item(R"(LINK=")", ColorToHTML(html.FLinkColor), R"(")");
        Item(R"(VLINK=")", ColorToHTML(html.FVisLinkColor), R"(")");
        Item(R"(BACKGROUND=")", EscapedAttribute(FEngine.FImageDir + ExtractFileName(html.FBackImage)),
             R"("><BR>)");
        Item(html.FFrontPageHTML, LineBreakTag);
    }

    // The dump lines: joined when broken, marked up, each given "<BR>". When
    // the run stops, the lines not yet handled are written as they were read,
    // in the text form the options give, without markup or "<BR>".
    bool WriteLines(TDumpLineSource& lines)
    {
        TLineMarker marker(FEngine.FNames, FEngine.IgnoreCase(), FEngine.FImageDir);
        const TAppOptions* app = FEngine.FAppOptions;
        const TShownText shown(app && app->FEscapeText, app ? app->FColorCodes : TColorCodes::Keep,
                               FEngine.FHTMLOptions->FTextColor);
        // Codes shown as colours would hide a highlighted line's colour: such a line loses them.
        const TShownText highlighted(app && app->FEscapeText,
                                     shown.HidesCodes() ? TColorCodes::Remove : TColorCodes::Keep,
                                     FEngine.FHTMLOptions->FTextColor);
        const bool highlight = marker.HasNames();
        TDumpLine line;
        while (lines.Next(line)) {
            // A stop that arrived at this line's pump leaves it without markup.
            const bool mark = highlight && !lines.Stopped();
            if (shown.ChangesText()) {
                PutShownLine(line.First, line.Second, mark ? &marker : nullptr, shown, highlighted);
            } else if (const TLineMarker::TMarkup* markup = mark ? marker.Find(line.First, line.Second) : nullptr) {
                PutLine(markup->Prefix, line.First, line.Second, markup->Suffix);
            } else {
                PutLine(line.First, line.Second);
            }
        }
        if (!lines.Stopped())
            return true;
        // The dump's text keeps the form the user chose for it: a page cut
        // short is saved, and must not let through markup it was told to escape.
        while (lines.NextAsRead(line)) {
            if (shown.ChangesText()) {
                FShown.clear();
                shown.Append(FShown, line.First);
                Item(FShown);
            } else {
                Item(line.First);
            }
        }
        return false;
    }

    TConvertClass& FEngine;
    TPageSink& FSink;
    // Scratch text of PutShownLine, kept to reuse its memory.
    std::string FJoined;
    std::string FSeen;
    std::string FShown;
};

TConvertClass::TConvertClass(IMessageBoxes* messageBoxes, TProcessMessages processMessages)
    : FMessageBoxes(messageBoxes), FProcessMessages(std::move(processMessages))
{
}

TConvertClass::~TConvertClass()
{
    if (FIOOptions)
        FIOOptions->ResetStatuses();
}

void TConvertClass::SetControls(IProgressBar* totalBar, IProgressBar* fileBar, IListView* listView)
{
    if (totalBar)
        FTotalBar = totalBar;
    if (fileBar)
        FFileBar = fileBar;
    if (listView)
        FListView = listView;
}

void TConvertClass::SetOptions(THTMLOptions* htmlOptions, TAppOptions* appOptions, TIOOptions* ioOptions,
                               TNamesList* names)
{
    if (htmlOptions)
        FHTMLOptions = htmlOptions;
    if (appOptions)
        FAppOptions = appOptions;
    if (ioOptions)
        FIOOptions = ioOptions;
    if (names)
        FNames = names;
}

void TConvertClass::Stop()
{
    FRunning = false;
}

bool TConvertClass::Modern() const
{
    return FAppOptions && FAppOptions->FPageStyle == TPageStyle::Modern;
}

bool TConvertClass::WritesIndex() const
{
    return Modern() && FAppOptions->FWriteIndex;
}

bool TConvertClass::IsIndexPage(const std::string& output) const
{
    return WritesIndex() && AsciiUpperCase(ExtractFileName(output)) == AsciiUpperCase(IndexPageName);
}

bool TConvertClass::IgnoreCase() const
{
    // The option is named "case sensitive", but when set the search ignores case.
    return FAppOptions && FAppOptions->FCaseSensitive;
}

bool TConvertClass::Convert(std::string& message)
{
    // An empty directory would turn into the file system's root once a
    // separator is appended; refuse before anything changes.
    if (FIOOptions && FIOOptions->FDestDir.empty()) {
        message = "No destination directory is set";
        return false;
    }
    if (FIOOptions && FIOOptions->FDestImgDir.empty()) {
        message = "No images directory is set";
        return false;
    }
    PrepareOptions();
    FRunning = true;
    bool result = true;
    if (FIOOptions)
        FIOOptions->ResetStatuses();
    if (FIOOptions && FAppOptions && FHTMLOptions && !FIOOptions->FFiles.empty()) {
        // Without its folders every page would fail, or refer to images never copied.
        if (!MakeOutputDirectories(message))
            return false;
        result = ConvertFiles();
    }
    // The index lists the pages in the directory, also after a stop: those written are there.
    const bool indexWritten = !WritesIndex() || !FIOOptions || !FHTMLOptions ||
                              WriteIndexPage(FIOOptions->FDestDir, *FHTMLOptions);
    if (!FRunning)
        message = "Canceled by user";
    else if (!result)
        message = "One or more files were not converted";
    else if (!indexWritten)
        message = "The index page could not be written";
    return result && indexWritten;
}

bool TConvertClass::MakeOutputDirectories(std::string& message)
{
    const std::pair<const char*, const std::string*> dirs[] = {{"destination", &FIOOptions->FDestDir},
                                                               {"images", &FIOOptions->FDestImgDir}};
    for (auto [what, dir] : dirs) {
        bool created = false;
        std::error_code error;
        if (!ForceDirectories(*dir, created, error)) {
            message = std::string("Cannot create the ") + what + " directory " + *dir + ": " + error.message();
            return false;
        }
        if (created && FOnDirectoryCreated)
            FOnDirectoryCreated(what, *dir);
    }
    return true;
}

bool TConvertClass::ConvertFiles()
{
    TIOOptions& io = *FIOOptions;
    // The "to all" answers of the overwrite question last for this run only.
    const bool skipExisting = io.FSkipExisting;
    const bool promptOnOverwrite = io.FPromptOnOverwrite;
    FImageDir = FHTMLOptions->FRelImages ? RelativePath(io.FDestDir, io.FDestImgDir) : io.FDestImgDir;
    if (FTotalBar)
        FTotalBar->SetMax(ClampToInt(io.FFiles.size()));
    FRunDumps = TFileSet();
    for (const TFileItem& item : io.FFiles)
        FRunDumps.Add(item.Path);
    FRunPages = TFileSet();
    // What a run killed before left behind where this one writes.
    RemoveStaleTemporaryFiles(io.FDestDir);
    if (!SamePath(io.FDestImgDir, io.FDestDir))
        RemoveStaleTemporaryFiles(io.FDestImgDir);
    bool result = true;
    for (std::size_t i = 0; i < io.FFiles.size() && FRunning; ++i) {
        if (FProcessMessages)
            FProcessMessages();
        const std::string source = io.FFiles[i].Path;
        const std::string output = OutputFileName(source);
        std::uint8_t code = ProcessFile(source, output);
        if (code == StatusCode::Converted || code == StatusCode::Overwritten)
            FRunPages.Add(output);
        if (!FRunning)
            code = StatusCode::Canceled;
        io.SetFileStatus(static_cast<int>(i), code);
        result = result && (code == StatusCode::Converted || code == StatusCode::Overwritten);
        if (FTotalBar)
            FTotalBar->StepIt();
    }
    FRunDumps = TFileSet();
    FRunPages = TFileSet();
    if (FTotalBar)
        FTotalBar->SetPosition(0);
    io.SetSkipExisting(skipExisting);
    io.SetPromptOnOverwrite(promptOnOverwrite);
    return result;
}

void TConvertClass::PrepareOptions()
{
    if (FIOOptions) {
        TIOOptions& io = *FIOOptions;
        // An empty directory stays empty rather than becoming the root.
        if (!io.FDestDir.empty() && !IsPathDelimiter(io.FDestDir.back()))
            io.SetDestDir(io.FDestDir + PathDelim);
        if (!io.FDestImgDir.empty() && !IsPathDelimiter(io.FDestImgDir.back()))
            io.SetDestImgDir(io.FDestImgDir + PathDelim);
    }
    if (FHTMLOptions)
        FHTMLOptions->SetBackImage(StripQuotes(FHTMLOptions->FBackImage));
    if (FNames)
        for (TNameItem& item : *FNames)
            if (item.Info)
                item.Info->FImageFile = StripQuotes(item.Info->FImageFile);
}

std::string TConvertClass::OutputFileName(const std::string& source) const
{
    std::string dir = FIOOptions ? FIOOptions->FDestDir : std::string();
    return dir + ChangeFileExt(ExtractFileName(source), ".htm");
}

std::uint8_t TConvertClass::ProcessFile(const std::string& source, const std::string& output)
{
    if (!FIOOptions)
        return StatusCode::ReadError;
    // A dump named *.htm in the destination directory would be its own output,
    // or another dump's; a dump of the same name as an earlier one of the run
    // would replace that one's page.
    if (IsRunInput(output, source) || FRunPages.Contains(output))
        return StatusCode::WriteError;
    // Nor may a page take the index page's name when the run writes one.
    if (IsIndexPage(output))
        return StatusCode::WriteError;
    auto write = [&](std::uint8_t success) {
        if (WritePage(source, output))
            return success;
        return FDumpRead ? StatusCode::WriteError : StatusCode::ReadError;
    };
    if (!FileExists(output))
        return write(StatusCode::Converted);
    if (FIOOptions->FSkipExisting)
        return StatusCode::SkippedExisting;
    if (!FIOOptions->FPromptOnOverwrite)
        return write(StatusCode::Overwritten);
    // The page in question on a line of its own.
    TOverwriteAnswer answer = FMessageBoxes ? FMessageBoxes->AskOverwrite(OverwriteQuestion + ("\r" + output))
                                            : TOverwriteAnswer::Closed;
    switch (answer) {
    case TOverwriteAnswer::Yes:
        return write(StatusCode::Overwritten);
    case TOverwriteAnswer::NoToAll:
        FIOOptions->SetSkipExisting(true);
        return StatusCode::SkippedByAnswer;
    case TOverwriteAnswer::YesToAll:
        FIOOptions->SetPromptOnOverwrite(false);
        return write(StatusCode::Overwritten);
    case TOverwriteAnswer::No:
    case TOverwriteAnswer::Closed:
        break;
    }
    return StatusCode::SkippedByAnswer;
}

bool TConvertClass::IsRunInput(const std::string& path, const std::string& source) const
{
    return SameFile(path, source) || FRunDumps.Contains(path);
}

void TConvertClass::CopyImages(const std::string& source) const
{
    // Copies replace what is there, never copy a file onto itself nor over a
    // dump, and their failures do not matter: the page refers to the images
    // all the same.
    auto copy = [this, &source](const std::string& path) {
        std::string target = FIOOptions->FDestImgDir + ExtractFileName(path);
        if (FileExists(path) && !IsRunInput(target, source))
            CopyFileAtomically(path, target);
    };
    copy(FHTMLOptions->FBackImage);
    if (FNames)
        for (const TNameItem& item : *FNames)
            if (item.Info)
                copy(item.Info->FImageFile);
}

bool TConvertClass::WritePage(const std::string& source, const std::string& output)
{
    FDumpRead = false;
    if (!FHTMLOptions || !FIOOptions || !FileExists(source) || IsRunInput(output, source))
        return false;
    try {
        CopyImages(source);
        const bool modern = Modern();
        TDumpLineSource lines(
            TPageProgress{FFileBar, FProcessMessages, &FRunning, modern ? TModernPage::HeaderItems : HeaderItems},
            FHTMLOptions->FBrokenLines, FBlockSize);
        // The modern page's header gives the number of lines.
        if (!lines.Open(source, modern))
            return false;
        FDumpRead = true;
        TAtomicFileWriter writer(output, TTargetLink::Replace);
        TPageSink sink(writer, FBlockSize);
        bool complete = false;
        if (modern) {
            TModernPage page(TModernPageInput{FHTMLOptions, FAppOptions, FNames, IgnoreCase(), FImageDir,
                                              ExtractFileName(source), FileDate(source), lines.TextBytes(),
                                              FAppOptions->FWriteIndex});
            complete = page.Write(lines, sink, writer) && FRunning;
        } else {
            complete = TPageBuilder(*this, sink).Write(lines);
        }
        if (lines.ReadFailed()) {
            FDumpRead = false;
            return false; // the page is not saved: it would be short of the dump's end
        }
        // A page cut short by a stop is saved all the same.
        bool saved = writer.Commit();
        return complete && saved;
    } catch (const std::exception&) {
        // Out of memory or a failing control: the page counts as not written.
        return false;
    }
}

void TConvertClass::HighlightLine(std::string& line)
{
    if (!FNames || !FRunning)
        return;
    TLineMarker marker(FNames, IgnoreCase(), FImageDir);
    if (const TLineMarker::TMarkup* markup = marker.Find(line))
        line = markup->Prefix + line + markup->Suffix;
}

std::string StripQuotes(const std::string& text)
{
    if (text.empty() || text.front() != '"' || text.back() != '"')
        return text;
    if (text.size() == 1)
        return std::string();
    return text.substr(1, text.size() - 2);
}

int SplitPath(const std::string& path, std::vector<std::string>& names)
{
    names.clear();
    std::string name; // gathered backwards
    for (std::size_t i = path.size(); i > 0; --i) {
        char c = path[i - 1];
        if (IsPathDelimiter(c)) {
            if (!name.empty())
                names.emplace_back(name.rbegin(), name.rend());
            name.clear();
            if (i > 1 && IsPathDelimiter(path[i - 2]))
                break; // the start of a network path
        } else if (c != ':' || !IsFileNameBoundary(':')) {
            // A drive colon belongs to no name; elsewhere ":" is an ordinary character.
            name.push_back(c);
        }
    }
    // What stands before the first separator (a drive) is no directory name.
    std::reverse(names.begin(), names.end());
    return static_cast<int>(names.size());
}

std::string RelativePath(const std::string& fromDir, const std::string& toDir)
{
    if (fromDir.empty() || toDir.empty() || !SamePath(fromDir.substr(0, 1), toDir.substr(0, 1)))
        return toDir; // another drive (or no common start): the absolute directory
    if (SamePath(fromDir, toDir))
        return std::string();
    std::vector<std::string> from;
    std::vector<std::string> to;
    SplitPath(fromDir, from);
    SplitPath(toDir, to);
    std::size_t common = 0;
    while (common < from.size() && common < to.size() && SamePath(from[common], to[common]))
        ++common;
    std::string result;
    for (std::size_t k = common; k < from.size(); ++k)
        result += "../";
    for (std::size_t k = common; k < to.size(); ++k)
        result += to[k] + "/";
    return result;
}

std::string ColorToHTML(TColor color)
{
    // Red is the low byte; a value wider than 24 bits is written from its low 24 bits.
    auto rgb = static_cast<std::uint32_t>(ColorToRGB(color));
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", rgb & 0xFFu, (rgb >> 8) & 0xFFu, (rgb >> 16) & 0xFFu);
    return text;
}

int ContainsName(const std::string& name, const std::string& line, bool ignoreCase)
{
    if (name.empty())
        return 0;
    auto fold = [ignoreCase](char c) { return ignoreCase ? AsciiUpper(c) : c; };
    auto at = std::search(line.begin(), line.end(), name.begin(), name.end(),
                          [&](char a, char b) { return fold(a) == fold(b); });
    if (at == line.end())
        return 0;
    return ClampToInt(static_cast<std::size_t>(at - line.begin()) + 1);
}

} // namespace velmora
