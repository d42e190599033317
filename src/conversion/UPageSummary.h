// The summary a modern page carries in its head, for the index page and for
// anyone who reads pages by program: which dump, when, how many lines and
// chat lines, and each player's counts. It is one JSON object in a
// <script type="application/json" id="velmora-summary"> element; its writer
// and its reader are here, with no JSON library.
#pragma once

#include <cstdint>
#include <ctime>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

struct TPlayerSummary {
    std::string Name;            // UTF-8, without colour codes
    std::uint64_t ChatLines = 0; // chat, team chat and private messages
    // Counted with the player stats option (TPageSummary::HasStats):
    std::uint64_t Kills = 0;
    std::uint64_t Deaths = 0;
    std::uint64_t Suicides = 0;
    std::map<std::string, std::uint64_t> WeaponKills; // by means of death ("MOD_RAILGUN")
    std::uint64_t Words = 0;   // in the chat lines
    std::uint64_t FirstLine = 0; // the page's first line naming the player (its id "L<n>"); 0: none
    std::vector<std::string> EarlierNames; // the names the player renamed from, first one first
    // The player this one killed most, and the one who killed this one most
    // (suicides and the world's kills left out); empty when none.
    std::string MostKilled;
    std::uint64_t MostKilledTimes = 0;
    std::string MostKilledBy;
    std::uint64_t MostKilledByTimes = 0;

    bool operator==(const TPlayerSummary&) const = default;
};

struct TPageSummary {
    std::string DumpName; // the dump's file name, UTF-8
    std::string DumpDate; // the dump's modification time, local: "YYYY-MM-DDTHH:MM:SS"
    std::uint64_t Lines = 0;
    std::uint64_t ChatLines = 0;
    bool HasStats = false; // the players' kills, deaths, suicides and weapons were counted
    std::vector<TPlayerSummary> Players;

    bool operator==(const TPageSummary&) const = default;
};

// The element's start, as it stands in a page.
inline constexpr std::string_view SummaryElementStart = R"(<script type="application/json" id="velmora-summary">)";
// A reader looks for the summary in this many bytes at the start of a page;
// the page writer puts it in the head, before anything of unbounded size.
inline constexpr std::size_t MaxSummaryOffset = 1 << 16;
// The most bytes a summary may take; a larger one is not read.
inline constexpr std::size_t MaxSummaryBytes = 1 << 20;

// The whole element for a page's head, on one line. Texts that are not valid
// UTF-8 are read as Windows-1252; "<", ">" and "&" are written as JSON
// escapes, so the element cannot end early. Should the summary pass
// MaxSummaryBytes, the players with the fewest chat lines and kills are left out.
std::string SummaryElement(const TPageSummary& summary);
// The element in exactly `size` bytes (at least MinSummaryElement), padded
// with spaces before its end tag, leaving out the least active players
// should it not fit otherwise: a page writer reserves its place in the head
// before the counts are known, and fills it in once they are.
std::string SummaryElement(const TPageSummary& summary, std::size_t size);
inline constexpr std::size_t MinSummaryElement = 4096; // room for any file name and the counts

// Reads the summary of a page's bytes: false, with summary unchanged, for
// anything but a well-formed summary element within MaxSummaryOffset bytes
// (a page of another program, a damaged page). Keys this version does not
// know are passed over.
bool ParsePageSummary(std::string_view page, TPageSummary& summary);
// The same for the page file at path, reading only its start.
bool ReadPageSummary(const std::string& path, TPageSummary& summary);

// A time as the summary writes dates: local time, "YYYY-MM-DDTHH:MM:SS".
std::string SummaryDate(std::time_t time);
// The modification time of a file in that form; empty when it cannot be read.
std::string FileDate(const std::string& path);

} // namespace velmora
