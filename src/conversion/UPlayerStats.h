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
    // aliases: counted under the name each stands for, and listed among its earlier names.
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

    // The most players counted; the lines of further ones are passed over,
    // so that no dump can make the counts grow without end.
    static constexpr std::size_t MaxPlayers = 20000;

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
        std::vector<std::string> Spellings; // the player's names as written, codes and all, in FSpellings
        std::size_t MergedInto = None; // set when the player renamed to a name that had counts of its own
    };

    // Names to record places: open addressing, kept at most half full.
    class TNameTable {
    public:
        // None when the name is not there.
        std::size_t Find(std::string_view name, std::size_t hash) const;
        void Insert(std::string_view name, std::size_t hash, std::size_t record);
        // The name must be there.
        void Erase(std::string_view name, std::size_t hash);
        std::size_t Size() const { return FCount; }

    private:
        struct TEntry {
            std::string Name;
            std::size_t Hash = 0;
            std::size_t Record = None; // None: a free place
        };
        std::size_t PlaceOf(std::string_view name, std::size_t hash) const;

        std::vector<TEntry> FEntries;
        std::size_t FCount = 0;
    };

    // The record of the player of that name as written in a line (codes and
    // all), None when there is none; Get makes one when new (None past MaxPlayers).
    std::size_t Find(std::string_view name);
    std::size_t Get(std::string_view name, std::uint64_t line);
    // The name without its colour codes and 0x19 bytes: the name itself when
    // it has none, otherwise a copy in FPlain.
    std::string_view Plain(std::string_view name);
    void AddKill(const TLineFacts& facts, std::uint64_t line);
    void AddEvent(const TLineFacts& facts, std::uint64_t line);
    // The player of the record takes the new name.
    void Rename(std::size_t record, std::string_view newName, std::uint64_t line);
    std::size_t Root(std::size_t record) const;

    TPlayerAliases FAliases;
    std::vector<TRecord> FRecords;
    // The current name of each player without codes (a record merged into
    // another has none), and the names as written that stand for them, in
    // which most lines find their player without taking codes out.
    TNameTable FNames;
    TNameTable FSpellings;
    std::unordered_map<std::uint64_t, std::uint64_t> FKillsOf; // killer record << 32 | victim record: kills
    std::vector<std::size_t> FSlots; // the record of each client slot's player in this game, None for none
    std::string FPlain;              // scratch of Plain, kept to reuse its memory
};

// A quick hash of a name's bytes as they stand (codes count).
std::size_t NameBytesHash(std::string_view name);

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
