// What each line of a dump is: chat, team chat, a private message, a kill,
// a player's coming and going, or anything else; and who and what it names,
// for the pages and the player counts. The forms recognised are one table
// in ULineKinds.cpp, each with an example line.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

enum class TLineKind : std::uint8_t { Other, Chat, Team, Tell, Kill, Event };
// The kind as a page writes it for the line's class: "other", "chat", "team",
// "tell", "kill", "event".
std::string_view LineKindName(TLineKind kind);

enum class TGameEvent : std::uint8_t {
    None,
    Connect,    // "A connected", ClientConnect
    Enter,      // "A entered the game", ClientBegin
    Disconnect, // "A disconnected", "A was kicked", "A timed out", ClientDisconnect
    Rename,     // "A renamed to B"
    TeamJoin,   // "A joined the red team."
    Userinfo,   // ClientUserinfoChanged: a client's name and team as the server sets them
    GameStart,  // InitGame: a server log's new game, whose client slots start empty
    GameEnd,    // ShutdownGame
};

// The game's means of death, in the order of its MOD_ numbers.
enum class TMeansOfDeath : std::uint8_t {
    Unknown, Shotgun, Gauntlet, Machinegun, Grenade, GrenadeSplash, Rocket, RocketSplash, Plasma, PlasmaSplash,
    Railgun, Lightning, BFG, BFGSplash, Water, Slime, Lava, Crush, Telefrag, Falling, Suicide, TargetLaser,
    TriggerHurt, Nail, Chaingun, ProximityMine, Kamikaze, Juiced, Grapple,
};
// "MOD_RAILGUN" and so on, as server logs write them.
std::string_view MeansOfDeathName(TMeansOfDeath means);
// False for a name that is not one of the game's.
bool MeansOfDeathFromName(std::string_view name, TMeansOfDeath& means);
// The weapon of a means of death as players call it ("Rocket launcher" for
// both MOD_ROCKET and MOD_ROCKET_SPLASH), or what else killed ("Lava").
std::string_view WeaponName(TMeansOfDeath means);

// What a line says. Names are views into the line as written, colour codes
// included (a name's trailing codes, which colour nothing, left off); compare
// them through PlayerName. Only the fields of the line's kind are set.
struct TLineFacts {
    TLineKind Kind = TLineKind::Other;
    // Chat, team, tell: who spoke and what; a server log's tell also names
    // the player it went to.
    std::string_view Speaker;
    std::string_view Text;
    std::string_view Addressee;
    // Kill: Killer is empty when nobody made the kill (the world: falling,
    // lava, "<world>" in server logs), and is the victim for a suicide.
    std::string_view Killer;
    std::string_view Victim;
    TMeansOfDeath Means = TMeansOfDeath::Unknown;
    // The means as the server wrote it ("MOD_RAILGUN", also for names this
    // version does not know), or the game's name for the obituary's means.
    std::string_view MeansText;
    bool ByWorld = false;
    bool Suicide = false;
    // Event: the player (for a rename the old name), the new name, and the
    // team joined ("red team", "spectators"; in ClientUserinfoChanged the
    // t\ value, "0" to "3"). A server log's start and end of a game are
    // lines of kind Other with the event GameStart or GameEnd.
    TGameEvent Event = TGameEvent::None;
    std::string_view Player;
    std::string_view NewName;
    std::string_view Team;
    // Server logs: the client slot of a Client... line, of the victim of a
    // Kill line, and of a chat line's speaker where the line gives it;
    // KillerSlot: the killer's (1022 and above: the world). -1 when not given.
    int Slot = -1;
    int KillerSlot = -1;
};

// Sorts lines by kind, one after another, remembering the players it has
// seen: a Quake Live chat line "Name: text" counts as chat only when its
// name has been seen before in an event, a kill or a chat line.
struct TLineRule;

class TLineClassifier {
public:
    TLineFacts Classify(std::string_view line);
    // True when a player of that name (colour codes ignored) has been seen.
    bool KnowsPlayer(std::string_view name);

private:
    void Learn(const TLineFacts& facts);
    void LearnName(std::string_view name);
    // Where the spaces and colons stand in the first 64 bytes of a text.
    struct TLineBytes {
        std::uint64_t Spaces;
        std::uint64_t Colons;
    };
    // The steps of Classify, each for the line after its time stamp.
    bool ServerLine(std::string_view rest, TLineBytes bytes, TLineFacts& facts);
    bool ServerLineRest(const TLineRule& rule, std::string_view rest, TLineBytes bytes, TLineFacts& facts);
    bool MarkedChat(std::string_view rest, TLineBytes bytes, TLineFacts& facts);
    bool KnownNameChat(std::string_view rest, TLineBytes bytes, TLineFacts& facts);
    bool PhraseLine(std::string_view rest, TLineBytes bytes, TLineFacts& facts);
    // The first name of `text` followed by ": " that is a known player, or
    // else (unless knownOnly) its text before the first ": ".
    bool SplitSpeaker(std::string_view text, TLineBytes bytes, bool knownOnly, TLineFacts& facts);

    // The players seen, by a 64-bit hash of their name without codes: an
    // open-addressing table, 0 marking a free place. Two names of one hash
    // would count as one, which at worst sorts a chat line wrongly.
    std::vector<std::uint64_t> FPlayers;
    std::size_t FPlayerCount = 0;

    // Names as written (codes and all) of players seen, up to 16 bytes, held
    // whole in two words that may overlap: most lines name a player seen
    // shortly before, whose name is then found here without hashing it.
    struct TSpelling {
        std::uint64_t First = 0;
        std::uint64_t Last = 0;
        std::size_t Size = 0; // 0: no name
        bool operator==(const TSpelling&) const = default;
    };
    static constexpr std::size_t SpellingPlaces = 256;
    // The place of the name's spelling (null for a longer or empty name), and the spelling.
    TSpelling* SpellingPlace(std::string_view name, TSpelling& spelling);
    std::array<TSpelling, SpellingPlaces> FSpellings{};
};

// The name without colour codes (including "^x" and six hexadecimal digits)
// and without the 0x19 bytes of server chat lines, as players are compared.
std::string PlayerName(std::string_view name);
void AppendPlayerName(std::string& out, std::string_view name);

// How a line is matched (see the rules table in ULineKinds.cpp).
enum class TLineForm : std::uint8_t {
    CommandEcho, // a command the player typed: never anything else
    ServerSay, ServerSayTeam, ServerTell, ServerKill, ServerConnect, ServerBegin, ServerDisconnect,
    ServerUserinfo, ServerInitGame, ServerShutdownGame, ServerBroadcast,
    Chat, TeamChat, Tell, SlotChat, KnownNameChat, KnownNameTeamChat,
    KilledBy,    // victim, phrase, killer, suffix
    KilledSelf,  // victim, phrase
    KilledByWorld, // victim, phrase
    PlayerEvent, // player, phrase
    Renamed,     // player, phrase, new name
    JoinedTeam,  // player, phrase, team
};

// One rule of the table.
struct TLineRule {
    TLineForm Form;
    TLineKind Kind;
    std::string_view Phrase; // what follows the first name, leading space included
    std::string_view Suffix; // what follows the second name
    TMeansOfDeath Means;
    TGameEvent Event;
    std::string_view Example; // a line as the game writes it, from a real dump where one has it
};
std::span<const TLineRule> LineRules();

} // namespace velmora
