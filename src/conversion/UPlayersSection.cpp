#include "conversion/UPlayersSection.h"

#include "conversion/UPageText.h"
#include "conversion/UPlayerStats.h"
#include "conversion/UShownText.h"

namespace velmora {

namespace {

constexpr std::string_view CRLF = "\r\n";

void Cell(std::string& out, std::uint64_t count)
{
    out += "<td class=\"n\">";
    out += std::to_string(count);
    out += "</td>";
}

} // namespace

std::string FirstLineLink(const TPlayerSummary& player)
{
    return player.FirstLine ? "#L" + std::to_string(player.FirstLine) : std::string();
}

std::string PlayersSectionHtml(const std::vector<TPlayerSummary>& players, const TPlayerLink& link,
                               std::string_view note)
{
    if (players.empty())
        return {};
    // Names are shown as the dump writes them, escaped, without control
    // characters; their colour codes were left out when they were counted.
    TPageText text(TColorCodes::Keep, 0);
    std::string out = "<section class=\"players\" id=\"players\">\r\n<h2>Players</h2>\r\n";
    if (!note.empty()) {
        out += "<p>";
        text.Append(out, note);
        out += "</p>\r\n";
    }
    out += "<table class=\"players\">\r\n<thead><tr><th>Player</th><th class=\"n\">Chat lines</th>"
           "<th class=\"n\">Words</th><th class=\"n\">Kills</th><th class=\"n\">Deaths</th>"
           "<th class=\"n\">Suicides</th><th>Top weapon</th></tr></thead>\r\n<tbody>\r\n";
    for (const TPlayerSummary& player : players) {
        out += "<tr><td>";
        const std::string href = link ? link(player) : std::string();
        if (!href.empty())
            out += "<a href=\"" + EscapedAttribute(href) + "\">";
        text.Append(out, player.Name);
        if (!href.empty())
            out += "</a>";
        if (!player.EarlierNames.empty()) {
            out += " <small class=\"earlier\">(was ";
            for (std::size_t k = 0; k < player.EarlierNames.size(); ++k) {
                out += k ? ", " : "";
                text.Append(out, player.EarlierNames[k]);
            }
            out += ")</small>";
        }
        out += "</td>";
        Cell(out, player.ChatLines);
        Cell(out, player.Words);
        Cell(out, player.Kills);
        Cell(out, player.Deaths);
        Cell(out, player.Suicides);
        out += "<td>";
        text.Append(out, TopWeapon(player));
        out += "</td></tr>";
        out += CRLF;
    }
    out += "</tbody>\r\n</table>\r\n</section>\r\n";
    return out;
}

std::string_view PlayersStyleRules()
{
    return "section.players{overflow-x:auto}\n"
           "table.players{border-collapse:collapse}\n"
           "table.players th,table.players td{text-align:left;padding:.2em .6em;white-space:nowrap}\n"
           "table.players .n{text-align:right}\n";
}

} // namespace velmora
