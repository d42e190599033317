#include "conversion/UPageIndex.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>

#include "conversion/UContrast.h"
#include "conversion/UConvertClass.h"
#include "conversion/UPageText.h"
#include "conversion/UPlayerStats.h"
#include "conversion/UPlayersSection.h"
#include "conversion/UShownText.h"
#include "platform/UFiles.h"
#include "platform/UPaths.h"
#include "platform/UText.h"
#include "settings/UHTMLOptions.h"

namespace velmora {

namespace {

constexpr std::size_t PlayersShown = 5;
constexpr const char* MonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                      "July",    "August",   "September", "October", "November", "December"};

bool EndsWithHtm(const std::string& name)
{
    return name.size() > 4 && AsciiUpperCase(name.substr(name.size() - 4)) == ".HTM";
}

// "June 2025" for a date "2025-06-..."; the date's first seven characters
// are checked digits (see IsDate in the summary reader).
std::string MonthHeading(const std::string& date)
{
    const int month = (date[5] - '0') * 10 + (date[6] - '0');
    const std::string name = month >= 1 && month <= 12 ? MonthNames[month - 1] : date.substr(5, 2);
    return name + " " + date.substr(0, 4);
}

// A file name as a link target: every byte but the unreserved characters
// of URLs written as a percent escape.
std::string LinkTarget(const std::string& name)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsAsciiAlnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += Hex[byte >> 4];
            out += Hex[byte & 15];
        }
    }
    return out;
}

std::string TopPlayers(const TPageSummary& summary)
{
    std::vector<const TPlayerSummary*> talkers;
    for (const TPlayerSummary& player : summary.Players)
        if (player.ChatLines > 0)
            talkers.push_back(&player);
    std::stable_sort(talkers.begin(), talkers.end(), [](const TPlayerSummary* a, const TPlayerSummary* b) {
        return a->ChatLines != b->ChatLines ? a->ChatLines > b->ChatLines : a->Name < b->Name;
    });
    std::string text;
    for (std::size_t k = 0; k < talkers.size() && k < PlayersShown; ++k)
        text += (k ? ", " : "") + PageEscaped(talkers[k]->Name) + " (" + std::to_string(talkers[k]->ChatLines) + ")";
    return text;
}

// Adds one page's counts of a player to the sum over pages.
void AddCounts(TPlayerSummary& sum, const TPlayerSummary& page)
{
    sum.ChatLines += page.ChatLines;
    sum.Words += page.Words;
    sum.Kills += page.Kills;
    sum.Deaths += page.Deaths;
    sum.Suicides += page.Suicides;
    for (const auto& [weapon, kills] : page.WeaponKills)
        sum.WeaponKills[weapon] += kills;
    for (const std::string& name : page.EarlierNames)
        if (name != sum.Name && std::find(sum.EarlierNames.begin(), sum.EarlierNames.end(), name) ==
                                    sum.EarlierNames.end())
            sum.EarlierNames.push_back(name);
}

// The "Players" section summed over the pages with player stats, each name
// linking to its first line on the oldest page that has one.
std::string PlayersSection(const std::vector<TIndexEntry>& entries)
{
    std::vector<TPlayerSummary> players;
    std::map<std::string, std::size_t> byName;
    std::map<std::string, std::string> linkOf;
    std::size_t pages = 0;
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) { // oldest first
        if (!entry->Summary.HasStats)
            continue;
        ++pages;
        for (const TPlayerSummary& player : entry->Summary.Players) {
            const auto [at, added] = byName.try_emplace(player.Name, players.size());
            if (added)
                players.emplace_back().Name = player.Name;
            AddCounts(players[at->second], player);
            if (std::string& link = linkOf[player.Name]; link.empty() && player.FirstLine != 0)
                link = LinkTarget(entry->PageName) + FirstLineLink(player);
        }
    }
    SortPlayers(players);
    const std::string note =
        "Summed over the " + std::to_string(pages) + (pages == 1 ? " page" : " pages") + " with player stats.";
    return PlayersSectionHtml(
        players, [&linkOf](const TPlayerSummary& player) { return linkOf[player.Name]; }, note);
}

std::string StyleSheet(const THTMLOptions& html)
{
    const TColor back = html.FBackColor;
    auto readable = [back](TColor color) { return ColorToHTML(ReadableColor(color, back)); };
    return ":root{--back:" + ColorToHTML(back) + ";--text:" + readable(html.FTextColor) +
           ";--link:" + readable(html.FLinkColor) + ";--visited:" + readable(html.FVisLinkColor) + "}\n"
           "body{background:var(--back);color:var(--text);margin:1em;"
           "font-family:ui-monospace,\"Cascadia Mono\",\"DejaVu Sans Mono\",Menlo,Consolas,monospace}\n"
           "a{color:var(--link)}a:visited{color:var(--visited)}\n"
           "table{border-collapse:collapse;width:100%}\n"
           "th,td{text-align:left;vertical-align:top;padding:.2em .5em;overflow-wrap:anywhere}\n"
           // Headers and figures break only between words, never inside one.
           "th,td.n{overflow-wrap:normal}\n"
           "td.n{text-align:right}\n" +
           std::string(PlayersStyleRules());
}

} // namespace

std::vector<TIndexEntry> ReadIndexEntries(const std::string& dir)
{
    std::vector<TIndexEntry> entries;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(FileSystemPath(dir), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = PathText(it->path().filename());
        if (!EndsWithHtm(name) || AsciiUpperCase(name) == AsciiUpperCase(IndexPageName))
            continue;
        TIndexEntry entry{name, {}};
        if (ReadPageSummary(PathText(it->path()), entry.Summary))
            entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(), [](const TIndexEntry& a, const TIndexEntry& b) {
        if (a.Summary.DumpDate != b.Summary.DumpDate)
            return a.Summary.DumpDate > b.Summary.DumpDate;
        return a.PageName < b.PageName;
    });
    return entries;
}

std::string IndexPageHtml(const std::vector<TIndexEntry>& entries, const THTMLOptions& html)
{
    const std::string title = PageEscaped(html.FTitle);
    std::string page = "<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n"
                       "<meta name=\"generator\" content=\"Velmora " VELMORA_VERSION "\">\r\n";
    if (!html.FAuthor.empty())
        page += "<meta name=\"author\" content=\"" + PageEscaped(html.FAuthor) + "\">\r\n";
    page += "<title>" + title + "</title>\r\n<style>\r\n" + StyleSheet(html) + "</style>\r\n</head>\r\n<body>\r\n";
    page += "<h1>" + title + "</h1>\r\n";
    if (!html.FAuthor.empty())
        page += "<p>" + PageEscaped(html.FAuthor) + "</p>\r\n";
    if (entries.empty())
        page += "<p>No pages yet.</p>\r\n";
    std::string month;
    for (const TIndexEntry& entry : entries) {
        const TPageSummary& summary = entry.Summary;
        if (summary.DumpDate.compare(0, 7, month) != 0) {
            if (!month.empty())
                page += "</tbody></table></section>\r\n";
            month = summary.DumpDate.substr(0, 7);
            page += "<section>\r\n<h2>" + MonthHeading(summary.DumpDate) + "</h2>\r\n<table>\r\n"
                    "<thead><tr><th>Date</th><th>Page</th><th>Lines</th><th>Chat lines</th>"
                    "<th>Most chat lines</th></tr></thead>\r\n<tbody>\r\n";
        }
        std::string date = summary.DumpDate.substr(0, 16);
        date[10] = ' ';
        page += "<tr><td>" + date + "</td><td><a href=\"" + LinkTarget(entry.PageName) + "\">" +
                PageEscaped(summary.DumpName) + "</a></td><td class=\"n\">" + std::to_string(summary.Lines) +
                "</td><td class=\"n\">" + std::to_string(summary.ChatLines) + "</td><td>" + TopPlayers(summary) +
                "</td></tr>\r\n";
    }
    if (!month.empty())
        page += "</tbody></table></section>\r\n";
    page += PlayersSection(entries);
    page += "<!-- Created by Velmora -->\r\n</body>\r\n</html>\r\n";
    return page;
}

bool WriteIndexPage(const std::string& dir, const THTMLOptions& html)
{
    return WriteFileAtomically(IncludeTrailingPathDelimiter(dir) + IndexPageName,
                               IndexPageHtml(ReadIndexEntries(dir), html));
}

} // namespace velmora
