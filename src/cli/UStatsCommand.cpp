// "velmora-cli stats": what each player said and did in the given dumps,
// counted together, as a table with aligned columns or as JSON.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/UCommands.h"
#include "cli/UFileReasons.h"
#include "conversion/UDumpLineSource.h"
#include "conversion/ULineKinds.h"
#include "conversion/UPlayerStats.h"

namespace velmora::cli {

namespace {

// How much of a dump is read at a time, as a conversion reads it.
constexpr std::size_t BlockSize = 1 << 20;

// The dump's lines counted into stats, each as written (none joined); false
// when it cannot be read, or not to its end.
bool CountDump(const std::string& path, TPlayerStats& stats)
{
    TDumpLineSource lines(TPageProgress{}, false, BlockSize);
    if (!lines.Open(path, false))
        return false;
    TLineClassifier classifier;
    for (TDumpLine line; lines.Next(line);)
        stats.Add(classifier.Classify(line.First), 0); // no page to link lines to
    // Client slots belong to one server log.
    stats.ForgetSlots();
    return !lines.ReadFailed();
}

nlohmann::ordered_json PlayersJson(const std::vector<std::string>& dumps, const std::vector<TPlayerSummary>& players)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const TPlayerSummary& player : players)
        list.push_back({{"name", player.Name},
                        {"chat", player.ChatLines},
                        {"words", player.Words},
                        {"kills", player.Kills},
                        {"deaths", player.Deaths},
                        {"suicides", player.Suicides},
                        {"topWeapon", TopWeapon(player)},
                        {"weapons", player.WeaponKills},
                        {"mostKilled", player.MostKilled},
                        {"mostKilledTimes", player.MostKilledTimes},
                        {"mostKilledBy", player.MostKilledBy},
                        {"mostKilledByTimes", player.MostKilledByTimes},
                        {"earlierNames", player.EarlierNames}});
    return {{"dumps", dumps}, {"players", list}};
}

// A name as a terminal shows it: control characters, which could move the
// cursor or change colours, as "?".
std::string Printable(std::string text)
{
    std::replace_if(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, '?');
    return text;
}

// The characters of UTF-8 text, as a terminal gives each a column.
std::size_t Columns(const std::string& text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string Rival(const std::string& name, std::uint64_t times)
{
    return name.empty() ? std::string() : Printable(name) + " (" + std::to_string(times) + ")";
}

// One row per player under a heading, each column as wide as its widest
// cell, numbers aligned right.
std::string PlayersTable(const std::vector<TPlayerSummary>& players)
{
    if (players.empty())
        return "No players.\n";
    const std::vector<std::string> heading = {"Player",      "Chat",        "Words",          "Kills",
                                              "Deaths",      "Suicides",    "Top weapon",     "Killed most",
                                              "Killed most by", "Earlier names"};
    const std::vector<bool> number = {false, true, true, true, true, true, false, false, false, false};
    std::vector<std::vector<std::string>> rows = {heading};
    for (const TPlayerSummary& player : players) {
        std::string earlier;
        for (const std::string& name : player.EarlierNames)
            earlier += (earlier.empty() ? "" : ", ") + Printable(name);
        rows.push_back({Printable(player.Name), std::to_string(player.ChatLines), std::to_string(player.Words),
                        std::to_string(player.Kills), std::to_string(player.Deaths), std::to_string(player.Suicides),
                        Printable(TopWeapon(player)), Rival(player.MostKilled, player.MostKilledTimes),
                        Rival(player.MostKilledBy, player.MostKilledByTimes), earlier});
    }
    std::vector<std::size_t> widths(heading.size(), 0);
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], Columns(row[c]));
    std::string table;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            const std::string padding(widths[c] - Columns(row[c]), ' ');
            line += c ? "  " : "";
            line += number[c] ? padding + row[c] : row[c] + padding;
        }
        line.erase(line.find_last_not_of(' ') + 1);
        table += line + "\n";
    }
    return table;
}

} // namespace

int RunStats(const TStatsRequest& request, const TCliContext& context)
{
    TPlayerStats stats;
    std::vector<std::string> counted;
    int status = ExitOk;
    for (const std::string& dump : request.Dumps) {
        if (CountDump(dump, stats)) {
            counted.push_back(dump);
            continue;
        }
        const std::string reason = WhyUnreadable(dump);
        const std::string message = "cannot read " + dump + (reason.empty() ? "" : ": " + reason);
        std::fprintf(context.Err, "%s: %s\n", ProgramName, message.c_str());
        status = ExitFailed;
    }
    const std::vector<TPlayerSummary> players = stats.Players();
    // Text that is not UTF-8 (a file name) gets replacement characters.
    const auto replace = nlohmann::ordered_json::error_handler_t::replace;
    const std::string output =
        request.Json ? PlayersJson(counted, players).dump(2, ' ', false, replace) + "\n" : PlayersTable(players);
    std::fputs(output.c_str(), context.Out);
    return status;
}

} // namespace velmora::cli
