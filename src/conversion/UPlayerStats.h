// What each player of a dump said and did, counted from the facts of its
// lines as a page goes through them once, in order: chat lines and words,
// kills, deaths, suicides, kills per weapon, and whom each killed most and
// was killed by most. Players are told apart by their names without colour
// codes; one who renamed is counted under the last name.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "conversion/ULineKinds.h"
#include "conversion/UPageSummary.h"

namespace velmora {

// Names that stand for one player: each name (without colour codes) to the
// name it is counted under. Nothing stores such a list yet; a user's list of
// aliases plugs in here.
using TPlayerAliases = std::map<std::string, std::string>;

class TPlayerStats {
public:
    explicit TPlayerStats(TPlayerAliases aliases = {});

    // Counts the facts of one line. line: the line's number on the page (its
    // id "L<n>"), 0 when the page leaves the line out; a player's first line
    // is the first one on the page that names them.
    // - chat, team chat, private messages: a chat line and its words for the speaker;
    // - a kill: a kill (and its weapon) for the killer, a death for the
    //   victim; the world's kills are only deaths, one's own a death and a suicide;
    // - "A renamed to B", and in a server log a client slot given a new name
    //   within a game: A's counts go to B, A becomes one of B's earlier names.
    void Add(const TLineFacts& facts, std::uint64_t line);
    // Forgets which player holds which client slot, as at a new game: for a
    // caller that counts several server logs one after another.
    void ForgetSlots() { FSlots.clear(); }

    // Every player seen, in the order of SortPlayers, names in UTF-8. The
    // fields of TPlayerSummary are all set (HasStats' counts included).
    std::vector<TPlayerSummary> Players() const;

private:
    static constexpr std::size_t MeansCount = static_cast<std::size_t>(TMeansOfDeath::Grapple) + 1;
    static constexpr std::size_t None = static_cast<std::size_t>(-1);

    struct TRecord {
        std::string Name; // without colour codes, bytes as in the dump
        std::uint64_t FirstLine = 0;
        std::uint64_t ChatLines = 0;
        std::uint64_t Words = 0;
        std::uint64_t Kills = 0;
        std::uint64_t Deaths = 0;
        std::uint64_t Suicides = 0;
        std::array<std::uint64_t, MeansCount> MeansKills{};
        std::map<std::string, std::uint64_t, std::less<>> OtherMeansKills; // "MOD_X" this version does not know
        std::vector<std::string> EarlierNames;
        std::size_t MergedInto = None; // a record whose player renamed to a name that had one
    };

    // The name as players are compared (codes left out, aliases applied), in FKey.
    const std::string& Key(std::string_view name);
    // The record of the player of that key, made when new: its place in FRecords.
    std::size_t Get(const std::string& key, std::uint64_t line);
    void AddKill(const TLineFacts& facts, std::uint64_t line);
    void AddEvent(const TLineFacts& facts, std::uint64_t line);
    void Rename(const std::string& oldKey, const std::string& newKey, std::uint64_t line);
    std::size_t Root(std::size_t record) const;

    TPlayerAliases FAliases;
    std::vector<TRecord> FRecords;
    std::unordered_map<std::string, std::size_t> FByName; // the current name of each player not merged away
    std::unordered_map<std::uint64_t, std::uint64_t> FKillsOf; // killer record << 32 | victim record: kills
    std::vector<std::string> FSlots; // the key of each client slot's player in this game
    std::string FKey;                // scratch of Key, kept to reuse its memory
};

// Most chat lines first, then most kills, then by name.
void SortPlayers(std::vector<TPlayerSummary>& players);

// The weapon of a player's most kills, both kinds of rocket kill counting for
// the rocket launcher ("Rocket launcher"; a means this version does not know
// as the server wrote it); empty without kills.
std::string TopWeapon(const TPlayerSummary& player);

// The number of words in a chat text: runs of characters between spaces
// that show something, colour codes not counted.
std::uint64_t CountWords(std::string_view text);

} // namespace velmora
