#include "conversion/UModernPage.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

#include "conversion/UContrast.h"
#include "conversion/UConvertClass.h"
#include "conversion/UDumpLineSource.h"
#include "conversion/UPageIndex.h"
#include "conversion/UPageSink.h"
#include "conversion/UPlayersSection.h"
#include "conversion/UShownText.h"
#include "platform/UFiles.h"
#include "platform/UPaths.h"
#include "platform/UText.h"
#include "settings/UAppOptions.h"
#include "settings/UHTMLOptions.h"

namespace velmora {

using namespace std::string_view_literals;

namespace {

constexpr std::string_view CRLF = "\r\n";
constexpr const char* Dot = " \xC2\xB7 "; // a middle dot between the header's facts

std::vector<std::string_view> NameViews(const TNamesList* names)
{
    std::vector<std::string_view> views;
    if (names)
        for (const TNameItem& item : *names)
            views.emplace_back(item.Name);
    return views;
}

// A text of the profile as a CSS string between double quotes, which cannot
// end the string or the style element early.
std::string CssString(std::string_view profileText)
{
    std::string out = "\"";
    for (char c : AsUtf8(profileText)) {
        if (c == '"' || c == '\\')
            out.append(1, '\\').append(1, c);
        else if (c == '<')
            out += "\\3C ";
        else if (c == '\n' || c == '\r')
            out += "\\A ";
        else
            out += c;
    }
    return out + "\"";
}

std::string StyleBlock(const THTMLOptions& html, const std::string& backImage, const std::string& colorClasses)
{
    const TColor back = html.FBackColor;
    auto readable = [back](TColor color) { return ColorToHTML(ReadableColor(color, back)); };
    std::string image = backImage.empty() ? std::string() : " url(" + CssString(backImage) + ")";
    return "<style>\r\n"
           ":root{--back:" + ColorToHTML(back) + ";--text:" + readable(html.FTextColor) +
           ";--link:" + readable(html.FLinkColor) + ";--visited:" + readable(html.FVisLinkColor) + "}\n"
           "body{margin:0;padding:.5em;background:var(--back)" + image + ";color:var(--text);"
           "font-family:ui-monospace,\"Cascadia Mono\",\"DejaVu Sans Mono\",Menlo,Consolas,monospace;"
           "font-size:.9rem;line-height:1.4;-webkit-text-size-adjust:100%}\n"
           "a{color:var(--link)}a:visited{color:var(--visited)}\n"
           "h1{font-size:1.3em;margin:.2em 0}\n"
           "h1,header p{overflow-wrap:anywhere}header p{margin:.2em 0}\n"
           "img{max-width:100%}\n"
           // Every line whole, spaces kept, long words broken at the page's edge.
           "main>div{position:relative;padding-left:1.6em;min-height:1.4em;white-space:pre-wrap;"
           "overflow-wrap:anywhere}\n"
           "main>div>a:first-child{position:absolute;left:0;width:1.3em;text-align:right;"
           "text-decoration:none;opacity:0}\n"
           "main>div>a:first-child::before{content:\"#\"}\n"
           "main>div:hover>a:first-child,main>div>a:first-child:focus{opacity:1}\n"
           "main>div:target{outline:1px dashed var(--link)}\n"
           ".hl{color:var(--hl);box-shadow:inset .3em 0 var(--bar);"
           "background:color-mix(in srgb,var(--bar) 14%,transparent)}\n" +
           colorClasses + "</style>\r\n";
}

// Pieces of a line's element of at most sixteen bytes, copied as one
// sixteen-byte store into room that has that much: what lands past the piece
// is written over by the rest of the element.
constexpr std::size_t ShortPiece = 16;
struct TShortPiece {
    char Bytes[ShortPiece] = {};
    std::size_t Size = 0;
};

char* AppendShort(char* out, const char* bytes, std::size_t size)
{
    std::memcpy(out, bytes, ShortPiece);
    return out + size;
}

// The end of a line's id and its class, for each line kind: "\" class=\"chat".
const std::array<TShortPiece, 6>& ClassPieces()
{
    static const std::array<TShortPiece, 6> pieces = [] {
        std::array<TShortPiece, 6> made{};
        for (std::size_t k = 0; k < made.size(); ++k) {
            const std::string piece = "\" class=\"" + std::string(LineKindName(static_cast<TLineKind>(k)));
            std::memcpy(made[k].Bytes, piece.data(), piece.size());
            made[k].Size = piece.size();
        }
        return made;
    }();
    return pieces;
}

// "2026-12-08T07:05:09" as the header shows it: "2026-12-08 07:05".
std::string ShownDate(const std::string& date)
{
    if (date.size() < 16)
        return date;
    std::string shown = date.substr(0, 16);
    shown[10] = ' ';
    return shown;
}


} // namespace

TModernPage::TModernPage(const TModernPageInput& input)
    : FInput(input), FText(input.App->FColorCodes, input.Html->FBackColor),
      FPlainText(TColorCodes::Remove, input.Html->FBackColor), FMatcher(NameViews(input.Names), input.IgnoreCase)
{
    if (FInput.Names) {
        const THighLightInfo defaults; // an item without attributes looks like a new entry
        for (const TNameItem& item : *FInput.Names)
            FMarkups.push_back(MarkupOf(item.Info ? *item.Info : defaults, FInput, FInput.Html->FBackColor));
    }
    FSummary.DumpName = AsUtf8(FInput.DumpName);
    FSummary.DumpDate = FInput.DumpDate;
    if (FInput.App->FPlayerStats) {
        FStats = std::make_unique<TPlayerStats>();
        FSummary.HasStats = true;
    }
}

TModernPage::TMarkup TModernPage::MarkupOf(const THighLightInfo& info, const TModernPageInput& input, TColor back)
{
    TMarkup markup;
    markup.Attributes = " hl\" style=\"--hl:" + ColorToHTML(ReadableColor(info.FColor, back)) +
                        ";--bar:" + ColorToHTML(info.FColor);
    markup.Before = AsUtf8(info.FHTMLBefore);
    if (!info.FImageFile.empty())
        markup.Before += "<img src=\"" + PageEscaped(input.ImageDir + ExtractFileName(info.FImageFile)) + "\" alt=\"\">";
    markup.After = AsUtf8(info.FHTMLAfter);
    return markup;
}

std::string TModernPage::Header(std::size_t dumpLines)
{
    const THTMLOptions& html = *FInput.Html;
    const std::string title = PageEscaped(html.FTitle);
    const std::string author = PageEscaped(html.FAuthor);
    std::string page = "<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n"
                       "<meta name=\"generator\" content=\"Velmora " VELMORA_VERSION "\">\r\n";
    // The summary's place, filled in once the lines are counted: near the
    // start, before any text of the profile, and growing with the dump, whose
    // players it lists.
    FSummaryAt = page.size();
    FSummarySize = std::clamp<std::size_t>(FInput.DumpBytes / (FStats ? 16 : 64), MinSummaryElement, MaxSummaryBytes);
    page += SummaryElement(FSummary, FSummarySize);
    page += CRLF;
    page += "<meta name=\"author\" content=\"" + author + "\">\r\n<title>" + title + "</title>\r\n";
    const std::string backImage =
        html.FBackImage.empty() ? std::string() : FInput.ImageDir + ExtractFileName(html.FBackImage);
    page += StyleBlock(html, backImage,
                       FText.ColorClassRules() + (FStats ? std::string(PlayersStyleRules()) : std::string()));
    page += "</head>\r\n<body>\r\n<header>\r\n<h1>" + title + "</h1>\r\n";
    if (!author.empty())
        page += "<p>" + author + "</p>\r\n";
    page += "<p>" + PageEscaped(FInput.DumpName) + Dot + "<time datetime=\"" + FInput.DumpDate + "\">" +
            ShownDate(FInput.DumpDate) + "</time>" + Dot + std::to_string(dumpLines) + " lines" + Dot + "<span>";
    // Room for the chat lines, which are no more than the lines.
    FChatCountAt = page.size();
    FChatCountWidth = std::to_string(dumpLines).size();
    page.append(FChatCountWidth, ' ');
    page += "</span> chat lines";
    if (FInput.LinkIndex)
        page += std::string(Dot) + "<a href=\"" + IndexPageName + "\">Index</a>";
    page += "</p>\r\n</header>\r\n";
    page += AsUtf8(html.FFrontPageHTML);
    page += "\r\n<main>\r\n";
    return page;
}

bool TModernPage::Write(TDumpLineSource& lines, TPageSink& sink, TAtomicFileWriter& file)
{
    FSink = &sink;
    const std::size_t dumpLines = lines.Lines();
    sink.Put(Header(dumpLines));
    TDumpLine line;
    while (lines.Next(line))
        PutLine(line, !lines.Stopped()); // a stop that arrived at this line's pump leaves it plain
    const bool complete = !lines.Stopped();
    // After a stop the rest is written as read: no joining, no highlight.
    while (!complete && lines.NextAsRead(line))
        PutLine(line, false);
    sink.Put("</main>\r\n");
    if (FStats) {
        FSummary.Players = FStats->Players();
        sink.Put(PlayersSectionHtml(FSummary.Players));
    }
    sink.Put({AsUtf8(FInput.Html->FEndPageHTML),
              "\r\n<footer>\r\n<!-- Created by Velmora -->\r\n</footer>\r\n</body>\r\n</html>\r\n"});
    sink.Finish();
    lines.Finish();

    FSummary.Lines = dumpLines;
    std::string chatLines = std::to_string(std::min<std::uint64_t>(FSummary.ChatLines, dumpLines));
    chatLines.insert(0, FChatCountWidth - chatLines.size(), ' ');
    file.Rewrite(FChatCountAt, chatLines);
    // The slot holds any file name and the counts; an element that did not
    // fit would overwrite the page, so the slot's first one stays instead.
    const std::string summary = SummaryElement(FSummary, FSummarySize);
    if (summary.size() == FSummarySize)
        file.Rewrite(FSummaryAt, summary);
    return complete;
}

bool TModernPage::Keeps(TLineKind kind) const
{
    switch (FInput.App->FKeepLines) {
    case TKeepLines::All:
        return true;
    case TKeepLines::Events:
        return kind != TLineKind::Other;
    case TKeepLines::Chat:
        return kind == TLineKind::Chat || kind == TLineKind::Team || kind == TLineKind::Tell;
    }
    return true;
}

void TModernPage::Count(const TLineFacts& facts, std::uint64_t shownNumber)
{
    if (FStats)
        FStats->Add(facts, shownNumber);
    if (facts.Kind != TLineKind::Chat && facts.Kind != TLineKind::Team && facts.Kind != TLineKind::Tell)
        return;
    ++FSummary.ChatLines;
    if (!FStats)
        CountChat(facts);
}

// Without the stats option only each player's chat lines are counted, for the index.
void TModernPage::CountChat(const TLineFacts& facts)
{
    // Most lines find their player by the name as written, without taking codes out.
    auto found = FSpellings.find(facts.Speaker);
    if (found == FSpellings.end()) {
        if (FSpellings.size() >= TPlayerStats::MaxPlayers)
            return; // no dump makes the counts grow without end
        FName.clear();
        AppendPlayerName(FName, facts.Speaker);
        auto [at, added] = FPlayerIndex.try_emplace(FName, FSummary.Players.size());
        if (added) {
            FSummary.Players.emplace_back();
            FSummary.Players.back().Name = AsUtf8(FName);
        }
        found = FSpellings.emplace(std::string(facts.Speaker), at->second).first;
    }
    ++FSummary.Players[found->second].ChatLines;
}

const TModernPage::TMarkup* TModernPage::Highlight(std::string_view text)
{
    // Names are looked for in the text the reader sees: without codes, unless they are shown.
    if (FInput.App->FColorCodes != TColorCodes::Keep && text.find('^') != std::string_view::npos) {
        FName.clear();
        AppendPlayerName(FName, text);
        text = FName;
    }
    const int k = FMatcher.FirstMatch(text);
    return k < 0 ? nullptr : &FMarkups[static_cast<std::size_t>(k)];
}

// Lines come in order, mostly one apart: the last number's digits are
// counted up rather than formatted anew.
std::string_view TModernPage::CountLineNumber(std::size_t number)
{
    if (FNumberSize == 0 || number < FNumber || number - FNumber > 4) {
        FNumberSize = static_cast<std::size_t>(
            std::to_chars(FNumberDigits, FNumberDigits + sizeof FNumberDigits, number).ptr - FNumberDigits);
        FNumber = number;
    }
    for (; FNumber < number; ++FNumber) {
        std::size_t at = FNumberSize;
        while (at > 0 && FNumberDigits[at - 1] == '9')
            FNumberDigits[--at] = '0';
        if (at > 0) {
            ++FNumberDigits[at - 1];
        } else { // 99 -> 100
            FNumberDigits[0] = '1';
            FNumberDigits[FNumberSize++] = '0';
        }
    }
    return {FNumberDigits, FNumberSize};
}

void TModernPage::PutLine(const TDumpLine& line, bool mayHighlight)
{
    std::string_view text = line.First;
    if (!line.Second.empty()) {
        FJoined.assign(line.First).append(line.Second);
        text = FJoined;
    }
    // Every line is classified, kept or not: the classifier learns the players from them.
    const TLineFacts facts = FClassifier.Classify(text);
    const bool kept = Keeps(facts.Kind);
    Count(facts, kept ? line.Number : 0);
    if (!kept)
        return;
    const TMarkup* markup = mayHighlight && !FMarkups.empty() ? Highlight(text) : nullptr;
    TPageText& shown = markup ? FPlainText : FText;
    const std::string_view number = LineNumber(line.Number);
    const TShortPiece& kind = ClassPieces()[static_cast<std::size_t>(facts.Kind)];
    constexpr std::string_view Open = R"(<div id="L)", Link = R"("><a href="#L)", LinkEnd = R"("></a>)",
                               Close = "</div>\r\n";
    // The pieces written as sixteen bytes have room for them: the text's
    // room is sixteen bytes a byte and eight more, and the close follows.
    static_assert(Close.size() + TPageText::MostBytes(0) >= ShortPiece);
    std::size_t most = Open.size() + Link.size() + LinkEnd.size() + Close.size() + 2 * number.size() + kind.Size +
                       TPageText::MostBytes(text.size());
    if (markup)
        most += markup->Attributes.size() + markup->Before.size() + markup->After.size();
    // The element goes straight into the sink; one longer than its block is
    // made in a scratch text first.
    char* const start = FSink->Space(most);
    if (!start)
        FOut.resize(most);
    char* out = start ? start : FOut.data();
    const char* const begin = out;
    static_assert(sizeof FNumberDigits >= ShortPiece); // which the number's digits are read from
    const bool shortNumber = number.size() <= ShortPiece;
    auto appendNumber = [&] {
        out = shortNumber ? AppendShort(out, number.data(), number.size()) : TPageSink::Append(out, number);
    };
    out = TPageSink::Append(out, Open);
    appendNumber();
    out = AppendShort(out, kind.Bytes, kind.Size);
    if (markup)
        out = TPageSink::Append(out, markup->Attributes);
    out = TPageSink::Append(out, Link);
    appendNumber();
    out = TPageSink::Append(out, LinkEnd);
    if (markup)
        out = TPageSink::Append(out, markup->Before);
    out = shown.Write(out, text);
    if (markup)
        out = TPageSink::Append(out, markup->After);
    out = TPageSink::Append(out, Close);
    if (start)
        FSink->Used(out);
    else
        FSink->Put(std::string_view(begin, static_cast<std::size_t>(out - begin)));
}

} // namespace velmora
