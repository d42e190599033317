// The kinds of dump lines. Every form is a row of Rules below; the code after
// the table only knows how each TLineForm is laid out.
//
// A line may start with a time stamp, which is skipped for the decision and
// stays in the line: a server game log's right-aligned "mmm:ss" ("  0:49 say:
// ..."), or one in brackets, "[hh:mm:ss]", "[hh:mm]", Quake Live's
// "[m:ss.mmm]", also with colour codes inside ("^1[^723^1:^724^1]^7 ").
//
// Names may hold spaces, colons, parentheses and colour codes. The game
// writes "^7" after every name it prints, so that mark ends a name in the
// client's chat forms; Quake Live strips colour codes, so its chat forms count
// only for names already seen. Obituaries and events are found by the
// game's own wording after the first name.
#include "conversion/ULineKinds.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <string>
#include <vector>

#include "conversion/UDumpText.h"
#include "conversion/UShownText.h"

namespace velmora {

namespace {

using F = TLineForm;
using K = TLineKind;
using M = TMeansOfDeath;
using E = TGameEvent;

// Examples are real lines of the dumps in the shared test data (file named
// in the comment) where a dump has one; the others are written as the game
// prints them (its obituary and chat formats).
constexpr TLineRule Rules[] = {
    // The console echoes what the player types after a "]".
    {F::CommandEcho, K::Other, "]", "", M::Unknown, E::None, "[12:50.320] ]\\condumptool"}, // ql-condump-aug2025

    // Server game log (g_log) and server console.
    {F::ServerSay, K::Chat, "say: ", "", M::Unknown, E::None, "  0:22 say: Stripe: Discussion time is over!"}, // q3llm
    {F::ServerSayTeam, K::Team, "sayteam: ", "", M::Unknown, E::None, "sayteam: Biker: I'm the team leader"}, // ioq3
    {F::ServerTell, K::Tell, "tell: ", "", M::Unknown, E::None, "tell: Xaero to Klesk: Klesk get the flag"}, // ioq3
    {F::ServerKill, K::Kill, "Kill: ", "", M::Unknown, E::None,
     "  0:41 Kill: 0 3 10: EvilTwigFlipper killed Grunt by MOD_RAILGUN"}, // q3llm
    {F::ServerConnect, K::Event, "ClientConnect: ", "", M::Unknown, E::Connect, "  0:00 ClientConnect: 0"}, // q3llm
    {F::ServerBegin, K::Event, "ClientBegin: ", "", M::Unknown, E::Enter, "ClientBegin: 1"},                  // ioq3
    {F::ServerDisconnect, K::Event, "ClientDisconnect: ", "", M::Unknown, E::Disconnect,
     "ClientDisconnect: 10"}, // ioq3
    {F::ServerUserinfo, K::Event, "ClientUserinfoChanged: ", "", M::Unknown, E::Userinfo,
     "ClientUserinfoChanged: 1 n\\Biker\\t\\1\\model\\biker\\hmodel\\biker\\c1\\4\\c2\\5"}, // ioq3
    // A game's start and end: client slots are given out anew in each game.
    {F::ServerInitGame, K::Other, "InitGame: ", "", M::Unknown, E::GameStart,
     "  0:00 InitGame: \\sv_hostname\\noname\\g_gametype\\0\\mapname\\Q3DM7SAMPLE"}, // q3llm, shortened
    {F::ServerShutdownGame, K::Other, "ShutdownGame:", "", M::Unknown, E::GameEnd, "  0:44 ShutdownGame:"}, // q3llm
    // The message inside is read by the rules of the client's messages below.
    {F::ServerBroadcast, K::Event, "broadcast: print \"", "\\n\"", M::Unknown, E::Connect,
     "broadcast: print \"^1A^2n^3a^4r^5k^6i^7 connected\\n\""}, // ioq3

    // Chat as the client prints it, and as a server console echoes it with
    // the 0x19 bytes the client removes.
    {F::Chat, K::Chat, "", "", M::Unknown, E::None, "^1Sarge^7: ^2gg"},
    {F::Chat, K::Chat, "", "", M::Unknown, E::None, "Xaero^7\x19: ^2I'm the team leader"},
    {F::TeamChat, K::Team, "", "", M::Unknown, E::None,
     "\x19(^1A^2n^3a^4r^5k^6i^7\x19)\x19: who's the team leader"}, // ioq3
    {F::TeamChat, K::Team, "", "", M::Unknown, E::None, "(Biker^7) (Red Base): ^5I'm the team leader"},
    {F::Tell, K::Tell, "", "", M::Unknown, E::None, "[Klesk^7]: ^6get the flag"},
    {F::Tell, K::Tell, "", "", M::Unknown, E::None, "\x19[Klesk^7\x19]\x19: ^6get the flag"},
    // Excessive Plus: the speaker's slot first, "^s" after the name.
    {F::SlotChat, K::Chat, "", "", M::Unknown, E::None,
     "^1[^723^1:^729^1]^7 [5^7] shit_lag^s:^2 lag"}, // xp-client
    // Quake Live: no colour codes, so only a name already seen makes it chat.
    {F::KnownNameChat, K::Chat, "", "", M::Unknown, E::None, "[5:25.225] wushy:  :>"}, // ql-condump-aug2025
    {F::KnownNameTeamChat, K::Team, "", "", M::Unknown, E::None,
     "[5:50.328]  (ZOLTAN) (Rocket): thx"}, // ql-condump-june2025

    // Obituaries: victim, wording, killer, wording after the killer.
    {F::KilledBy, K::Kill, " was caught by ", "", M::Grapple, E::None, "Doom^7 was caught by Sarge^7"},
    {F::KilledBy, K::Kill, " was pummeled by ", "", M::Gauntlet, E::None,
     "^1[^723^1:^726^1]^7 UNLUCKY^7^s was pummeled by Tanya^7^s."}, // xp-client
    {F::KilledBy, K::Kill, " was machinegunned by ", "", M::Machinegun, E::None,
     "Doom^7 was machinegunned by Sarge^7"},
    {F::KilledBy, K::Kill, " was gunned down by ", "", M::Shotgun, E::None,
     "[0:00.000] wushy was gunned down by s0cke"}, // ql-condump-aug2025
    {F::KilledBy, K::Kill, " ate ", "'s grenade", M::Grenade, E::None,
     "[0:00.000] wushy ate leon's grenade"}, // ql-condump-aug2025
    {F::KilledBy, K::Kill, " was shredded by ", "'s shrapnel", M::GrenadeSplash, E::None,
     "[0:00.000] Michael J Fox LG was shredded by Gauntl3t's shrapnel"}, // ql-condump-aug2025
    {F::KilledBy, K::Kill, " ate ", "'s rocket", M::Rocket, E::None,
     "[4:16.174] wushy ate Gauntl3t's rocket"}, // ql-condump-aug2025
    {F::KilledBy, K::Kill, " almost dodged ", "'s rocket", M::RocketSplash, E::None,
     "[0:00.000] CrS almost dodged Greox's rocket"}, // ql-condump-june2025
    {F::KilledBy, K::Kill, " was melted by ", "'s plasmagun", M::Plasma, E::None,
     "[5:23.375] wushy was melted by Gauntl3t's plasmagun"}, // ql-condump-aug2025
    {F::KilledBy, K::Kill, " was railed by ", "", M::Railgun, E::None,
     "^1[^723^1:^724^1]^7 ^1su6mr6ak6^7^s was railed by Sv^7^s."}, // xp-client
    {F::KilledBy, K::Kill, " was electrocuted by ", "", M::Lightning, E::None,
     "[4:41.828] leon was electrocuted by asylum moussaka"}, // ql-condump-aug2025
    {F::KilledBy, K::Kill, " was blasted by ", "'s BFG", M::BFG, E::None, "Doom^7 was blasted by Sarge^7's BFG"},
    {F::KilledBy, K::Kill, " was nailed by ", "", M::Nail, E::None, "Doom^7 was nailed by Sarge^7"},
    {F::KilledBy, K::Kill, " got lead poisoning from ", "'s Chaingun", M::Chaingun, E::None,
     "Doom^7 got lead poisoning from Sarge^7's Chaingun"},
    {F::KilledBy, K::Kill, " was too close to ", "'s Prox Mine", M::ProximityMine, E::None,
     "Doom^7 was too close to Sarge^7's Prox Mine"},
    {F::KilledBy, K::Kill, " falls to ", "'s Kamikaze blast", M::Kamikaze, E::None,
     "Doom^7 falls to Sarge^7's Kamikaze blast"},
    {F::KilledBy, K::Kill, " was juiced by ", "", M::Juiced, E::None, "Doom^7 was juiced by Sarge^7"},
    {F::KilledBy, K::Kill, " tried to invade ", "'s personal space", M::Telefrag, E::None,
     "[1:48.700] Gauntl3t tried to invade leon's personal space"}, // ql-condump-aug2025
    {F::KilledBy, K::Kill, " was killed by ", "", M::Unknown, E::None, "Doom^7 was killed by Sarge^7"},
    // A player's own death; the game follows a single name with a period.
    {F::KilledSelf, K::Kill, " suicides", "", M::Suicide, E::None, "Doom^7 suicides."},
    {F::KilledSelf, K::Kill, " tripped on his own grenade", "", M::GrenadeSplash, E::None,
     "Doom^7 tripped on his own grenade."},
    {F::KilledSelf, K::Kill, " tripped on her own grenade", "", M::GrenadeSplash, E::None,
     "Daemia^7 tripped on her own grenade."},
    {F::KilledSelf, K::Kill, " tripped on its own grenade", "", M::GrenadeSplash, E::None,
     "Orbb^7 tripped on its own grenade."},
    {F::KilledSelf, K::Kill, " blew himself up", "", M::RocketSplash, E::None, "Doom^7 blew himself up."},
    {F::KilledSelf, K::Kill, " blew herself up", "", M::RocketSplash, E::None, "Daemia^7 blew herself up."},
    {F::KilledSelf, K::Kill, " blew itself up", "", M::RocketSplash, E::None, "Orbb^7 blew itself up."},
    {F::KilledSelf, K::Kill, " melted himself", "", M::PlasmaSplash, E::None, "Doom^7 melted himself."},
    {F::KilledSelf, K::Kill, " melted herself", "", M::PlasmaSplash, E::None, "Daemia^7 melted herself."},
    {F::KilledSelf, K::Kill, " melted itself", "", M::PlasmaSplash, E::None, "Orbb^7 melted itself."},
    {F::KilledSelf, K::Kill, " should have used a smaller gun", "", M::BFGSplash, E::None,
     "Doom^7 should have used a smaller gun."},
    {F::KilledSelf, K::Kill, " goes out with a bang", "", M::Kamikaze, E::None, "Doom^7 goes out with a bang."},
    {F::KilledSelf, K::Kill, " found his prox mine", "", M::ProximityMine, E::None, "Doom^7 found his prox mine."},
    {F::KilledSelf, K::Kill, " found her prox mine", "", M::ProximityMine, E::None,
     "Daemia^7 found her prox mine."},
    {F::KilledSelf, K::Kill, " found it's prox mine", "", M::ProximityMine, E::None,
     "Orbb^7 found it's prox mine."},
    {F::KilledSelf, K::Kill, " killed himself", "", M::Unknown, E::None, "Doom^7 killed himself."},
    {F::KilledSelf, K::Kill, " killed herself", "", M::Unknown, E::None, "Daemia^7 killed herself."},
    {F::KilledSelf, K::Kill, " killed itself", "", M::Unknown, E::None,
     "^1[^723^1:^725^1]^7 u^xeeff55\xB6^so_Hexyu^7^s killed itself. ^3CAMPER ALERT."}, // xp-client
    // Deaths nobody made.
    {F::KilledByWorld, K::Kill, " cratered", "", M::Falling, E::None, "Doom^7 cratered."},
    {F::KilledByWorld, K::Kill, " was squished", "", M::Crush, E::None, "Doom^7 was squished."},
    {F::KilledByWorld, K::Kill, " sank like a rock", "", M::Water, E::None, "Doom^7 sank like a rock."},
    {F::KilledByWorld, K::Kill, " melted", "", M::Slime, E::None, "Doom^7 melted."},
    {F::KilledByWorld, K::Kill, " does a back flip into the lava", "", M::Lava, E::None,
     "Doom^7 does a back flip into the lava."},
    {F::KilledByWorld, K::Kill, " saw the light", "", M::TargetLaser, E::None, "Doom^7 saw the light."},
    {F::KilledByWorld, K::Kill, " was in the wrong place", "", M::TriggerHurt, E::None,
     "^1[^723^1:^745^1]^7 ^1su6mr6ak6^7^s was in the wrong place."}, // xp-client
    {F::KilledByWorld, K::Kill, " died", "", M::Unknown, E::None, "Doom^7 died."},

    // A player's coming and going.
    {F::PlayerEvent, K::Event, " connected", "", M::Unknown, E::Connect, "^6PadGirl^7 connected"}, // wop-client
    {F::PlayerEvent, K::Event, " entered the game", "", M::Unknown, E::Enter,
     "PadPlayer^7 entered the game"}, // wop-client
    {F::PlayerEvent, K::Event, " disconnected", "", M::Unknown, E::Disconnect,
     "[1:58.026] CrS disconnected"}, // ql-condump-june2025
    {F::PlayerEvent, K::Event, " was kicked", "", M::Unknown, E::Disconnect,
     "broadcast: print \"Xaero^7 was kicked\\n\""}, // ioq3
    {F::PlayerEvent, K::Event, " timed out", "", M::Unknown, E::Disconnect, "Doom^7 timed out"},
    {F::Renamed, K::Event, " renamed to ", "", M::Unknown, E::Rename,
     "[10:06.901] reb renamed to permazoomed bottomhug"}, // ql-condump-aug2025
    {F::JoinedTeam, K::Event, " joined the ", "", M::Unknown, E::TeamJoin,
     "^1[^723^1:^736^1]^7 shit_lag^s joined the spectators."}, // xp-client
};

constexpr std::string_view MeansNames[] = {
    "MOD_UNKNOWN",     "MOD_SHOTGUN",      "MOD_GAUNTLET",  "MOD_MACHINEGUN",  "MOD_GRENADE",  "MOD_GRENADE_SPLASH",
    "MOD_ROCKET",      "MOD_ROCKET_SPLASH", "MOD_PLASMA",   "MOD_PLASMA_SPLASH", "MOD_RAILGUN", "MOD_LIGHTNING",
    "MOD_BFG",         "MOD_BFG_SPLASH",   "MOD_WATER",     "MOD_SLIME",       "MOD_LAVA",     "MOD_CRUSH",
    "MOD_TELEFRAG",    "MOD_FALLING",      "MOD_SUICIDE",   "MOD_TARGET_LASER", "MOD_TRIGGER_HURT", "MOD_NAIL",
    "MOD_CHAINGUN",    "MOD_PROXIMITY_MINE", "MOD_KAMIKAZE", "MOD_JUICED",     "MOD_GRAPPLE"};
static_assert(std::size(MeansNames) == static_cast<std::size_t>(TMeansOfDeath::Grapple) + 1);
constexpr std::string_view WeaponNames[] = {
    "Unknown",       "Shotgun",       "Gauntlet",        "Machinegun", "Grenade launcher", "Grenade launcher",
    "Rocket launcher", "Rocket launcher", "Plasma gun",  "Plasma gun", "Railgun",          "Lightning gun",
    "BFG",           "BFG",           "Water",           "Slime",      "Lava",             "Crushed",
    "Telefrag",      "Falling",       "Suicide",         "Laser",      "Hurt",             "Nailgun",
    "Chaingun",      "Prox launcher", "Kamikaze",        "Juiced",     "Grapple"};
static_assert(std::size(WeaponNames) == std::size(MeansNames));
static_assert(Rules[0].Form == F::CommandEcho);

// A line's first name and what marks its end stand within this many bytes
// after the time stamp: the game keeps names to 35 bytes, colour codes included.
constexpr std::size_t Window = 64;
constexpr std::size_t MaxNameBytes = Window - 2;
// The most players a classifier remembers, so that no dump can make it grow without end.
constexpr std::size_t MaxPlayers = 10000;
// Client numbers of server logs; 1022 is the world.
constexpr int MaxSlot = 9999;
constexpr int FirstWorldSlot = 64;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The first eight bytes of a text (fewer when it is shorter), for a quick
// first comparison.
std::uint64_t Head(std::string_view text)
{
    std::uint64_t head = 0;
    if (text.size() >= 8) {
        std::memcpy(&head, text.data(), 8); // one load, where a copy of a variable length would be a call
        return head;
    }
    std::memcpy(&head, text.data(), text.size());
    return head;
}

// The phrase rules (obituaries and events) by the two letters after their
// leading space, so that at most of a line's spaces one look in a table
// shows that no rule can match there; the others are compared in full only
// when their first eight bytes match.
struct TPhraseIndex {
    struct TEntry {
        const TLineRule* Rule;
        std::uint64_t Head; // the phrase's first eight bytes
        std::uint64_t Mask; // the bytes of Head that the phrase has
        std::size_t Key;
    };
    static std::size_t KeyOf(char first, char second)
    {
        return (static_cast<unsigned char>(first) & 0x7F) << 7 | (static_cast<unsigned char>(second) & 0x7F);
    }
    std::vector<TEntry> Entries;              // by key
    std::array<std::uint8_t, 128 * 128> Ends{}; // for each key: 1 + the index of its last entry, 0 for none
    std::array<std::uint8_t, 128 * 128> Starts{};
    TPhraseIndex()
    {
        for (const TLineRule& rule : Rules)
            if (rule.Form >= F::KilledBy) {
                // The mask is made as the heads are, whatever the byte order.
                const std::uint64_t mask = Head(std::string(std::min<std::size_t>(rule.Phrase.size(), 8), '\xFF'));
                Entries.push_back({&rule, Head(rule.Phrase), mask, KeyOf(rule.Phrase[1], rule.Phrase[2])});
            }
        std::stable_sort(Entries.begin(), Entries.end(),
                         [](const TEntry& a, const TEntry& b) { return a.Key < b.Key; });
        for (std::size_t k = Entries.size(); k-- > 0;)
            Starts[Entries[k].Key] = static_cast<std::uint8_t>(k);
        for (std::size_t k = 0; k < Entries.size(); ++k)
            Ends[Entries[k].Key] = static_cast<std::uint8_t>(k + 1);
    }
};
static_assert(std::size(Rules) < 255);

const TPhraseIndex& PhraseIndex()
{
    static const TPhraseIndex index;
    return index;
}

// The server log phrases by their first byte, as bits of their places in
// Rules: every other line is passed over at once, and a line is compared
// only with the phrases that start as it does.
constexpr std::array<std::uint16_t, 256> ServerRulesByFirstByte = [] {
    std::array<std::uint16_t, 256> rules{};
    for (std::size_t k = 0; k < std::size(Rules); ++k)
        if (Rules[k].Form >= F::ServerSay && Rules[k].Form <= F::ServerBroadcast)
            rules[static_cast<unsigned char>(Rules[k].Phrase[0])] |= static_cast<std::uint16_t>(1u << k);
    return rules;
}();
static_assert([] {
    for (std::size_t k = 16; k < std::size(Rules); ++k)
        if (Rules[k].Form >= F::ServerSay && Rules[k].Form <= F::ServerBroadcast)
            return false;
    return true;
}());

// Where the colon of each rule's phrase stands (for the server log phrases,
// which all have one within the first bytes): a line without a colon at that
// place cannot start with the phrase, which is then not compared.
constexpr std::array<std::uint8_t, std::size(Rules)> PhraseColons = [] {
    std::array<std::uint8_t, std::size(Rules)> at{};
    for (std::size_t k = 0; k < std::size(Rules); ++k)
        at[k] = static_cast<std::uint8_t>(std::min<std::size_t>(Rules[k].Phrase.find(':'), Window - 1));
    return at;
}();
static_assert([] {
    for (const TLineRule& rule : Rules)
        if (rule.Form >= F::ServerSay && rule.Form <= F::ServerBroadcast && rule.Phrase.find(':') >= Window)
            return false;
    return true;
}());
// Those places for all server log phrases: a line with a colon at none of
// them is no server log line.
constexpr std::uint64_t ServerColons = [] {
    std::uint64_t colons = 0;
    for (std::size_t k = 0; k < std::size(Rules); ++k)
        if (Rules[k].Form >= F::ServerSay && Rules[k].Form <= F::ServerBroadcast)
            colons |= std::uint64_t(1) << PhraseColons[k];
    return colons;
}();

// Skips colour codes at text[at].
std::size_t SkipCodes(std::string_view text, std::size_t at)
{
    while (at < text.size()) {
        const std::size_t code = ColorCodeLength(text, at);
        if (code == 0)
            break;
        at += code;
    }
    return at;
}

// The name without the colour codes at its end, which colour nothing.
std::string_view TrimCodes(std::string_view name)
{
    for (;;) {
        if (!name.empty() && name.back() == '\x19') {
            name.remove_suffix(1);
            continue;
        }
        if (name.size() >= 2 && name[name.size() - 2] == '^' && IsColorCode(name, name.size() - 2)) {
            name.remove_suffix(2);
            continue;
        }
        if (name.size() >= 8 && ColorCodeLength(name, name.size() - 8) == 8) {
            name.remove_suffix(8);
            continue;
        }
        return name;
    }
}

// True when the name has a visible character and is no longer than a name can be.
bool IsName(std::string_view name)
{
    if (name.empty() || name.size() > MaxNameBytes)
        return false;
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t code = ColorCodeLength(name, at);
        if (code == 0 && name[at] != '\x19')
            return true;
        at += code ? code : 1;
    }
    return false;
}

// A client number at the start of text, its digits taken off; -1 when none.
int TakeSlot(std::string_view& text)
{
    int slot = 0;
    std::size_t n = 0;
    while (n < text.size() && IsDigit(text[n]) && n < 4)
        slot = slot * 10 + (text[n++] - '0');
    if (n == 0 || (n < text.size() && IsDigit(text[n])))
        return -1;
    text.remove_prefix(n);
    return slot;
}

bool Take(std::string_view& text, std::string_view prefix)
{
    if (!text.starts_with(prefix))
        return false;
    text.remove_prefix(prefix.size());
    return true;
}

// The line after its time stamp and the spaces that follow; the line itself
// when it has none.
std::string_view AfterTimeStamp(std::string_view line)
{
    // Most lines start with a letter: no time stamp, nothing to skip.
    if (const char first = line.empty() ? ' ' : line[0]; first != ' ' && first != '[' && first != '^' && !IsDigit(first))
        return line;
    std::size_t at = 0;
    auto skipSpaces = [&] {
        while (at < line.size() && line[at] == ' ')
            ++at;
    };
    auto next = [&] { // the next character after any colour codes, or 0
        at = SkipCodes(line, at);
        return at < line.size() ? line[at] : '\0';
    };
    auto digits = [&] {
        std::size_t n = 0;
        while (IsDigit(next())) {
            ++at;
            ++n;
        }
        return n;
    };
    // Excessive Plus starts some lines it prints again with "^\\".
    if (line.starts_with("^\\"))
        at = 2;
    skipSpaces();
    const std::size_t start = at;
    if (next() == '[') {
        ++at;
        std::size_t fields = 0;
        while (digits() > 0) {
            ++fields;
            const char c = next();
            if (c == ':' || (c == '.' && fields >= 2)) {
                ++at;
            } else {
                break;
            }
        }
        if (fields >= 2 && next() == ']') {
            ++at;
            if (next() == ' ') {
                skipSpaces();
                return line.substr(at);
            }
        }
    } else if (const std::size_t minutes = digits(); minutes > 0 && minutes <= 4 && next() == ':') {
        ++at;
        if (digits() == 2 && next() == ' ') {
            skipSpaces();
            return line.substr(at);
        }
    }
    return line.substr(start);
}

// After a phrase that ends a message: nothing, or the game's period, which
// a mod may follow with remarks of its own ("killed itself. CAMPER ALERT.").
bool EndsMessage(std::string_view after)
{
    after = TrimCodes(after);
    return after.empty() || after == "." || after.starts_with(". ");
}

// A second name running to the end of the line. Some mods end the message
// with a period after the name's closing colour code; a period straight
// after a visible character belongs to the name.
std::string_view LastName(std::string_view text)
{
    if (text.size() >= 3 && text.back() == '.') {
        const std::string_view before = text.substr(0, text.size() - 1);
        if (TrimCodes(before).size() < before.size())
            text = before;
    }
    return TrimCodes(text);
}

// FNV-1a over the name's visible bytes (colour codes and 0x19 passed over),
// never 0, which marks a free place of the players' table.
std::uint64_t NameHash(std::string_view name)
{
    std::uint64_t hash = 14695981039346656037u;
    for (std::size_t at = 0; at < name.size();) {
        const char c = name[at];
        if (c == '^') {
            if (const std::size_t code = ColorCodeLength(name, at)) {
                at += code;
                continue;
            }
        } else if (c == '\x19') {
            ++at;
            continue;
        }
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
        ++at;
    }
    return hash != 0 ? hash : 1;
}

constexpr std::size_t FirstTableSize = 256;

} // namespace

std::span<const TLineRule> LineRules()
{
    return Rules;
}

std::string_view LineKindName(TLineKind kind)
{
    static constexpr std::string_view Names[] = {"other", "chat", "team", "tell", "kill", "event"};
    return Names[static_cast<std::size_t>(kind)];
}

std::string_view MeansOfDeathName(TMeansOfDeath means)
{
    return MeansNames[static_cast<std::size_t>(means)];
}

std::string_view WeaponName(TMeansOfDeath means)
{
    return WeaponNames[static_cast<std::size_t>(means)];
}

bool MeansOfDeathFromName(std::string_view name, TMeansOfDeath& means)
{
    for (std::size_t k = 0; k < std::size(MeansNames); ++k)
        if (MeansNames[k] == name) {
            means = static_cast<TMeansOfDeath>(k);
            return true;
        }
    return false;
}

void AppendPlayerName(std::string& out, std::string_view name)
{
    // The text between codes and 0x19 bytes is appended in one piece.
    std::size_t from = 0;
    for (std::size_t at = 0; at < name.size();) {
        const char c = name[at];
        const std::size_t skip = c == '\x19' ? 1 : c == '^' ? ColorCodeLength(name, at) : 0;
        if (skip == 0) {
            ++at;
            continue;
        }
        out.append(name, from, at - from);
        at += skip;
        from = at;
    }
    out.append(name, from, name.size() - from);
}

std::string PlayerName(std::string_view name)
{
    std::string result;
    result.reserve(name.size());
    AppendPlayerName(result, name);
    return result;
}

TLineFacts TLineClassifier::Classify(std::string_view line)
{
    TLineFacts facts;
    const std::string_view rest = AfterTimeStamp(line);
    if (rest.empty() || rest.starts_with(Rules[0].Phrase)) // nothing, or a command echo
        return facts;
    const auto [spaces, colons] = ByteBits(rest, ' ', ':');
    const TLineBytes bytes{spaces, colons};
    // The forms in the order they are tried. A form that does not match
    // leaves the facts empty for the next. The calls are left out for lines
    // that the first byte, the colons and spaces show to be of no such form:
    // a server log line starts with a phrase's first byte and has its
    // colon; marked chat has a colon after the name or starts with its
    // bracket; Quake Live chat has ": " or starts with "("; an obituary or an
    // event has a space after the first byte.
    const char first = rest[0];
    const bool mayBeServerLine =
        ServerRulesByFirstByte[static_cast<unsigned char>(first)] != 0 && (colons & ServerColons) != 0;
    const bool mayBeMarkedChat = (colons & ~std::uint64_t(7)) != 0 || first == '(' || first == '[' || first == '\x19';
    const bool mayBeKnownNameChat = (colons & spaces >> 1) != 0 || first == '(';
    const bool mayBePhraseLine = (spaces & ~std::uint64_t(1)) != 0;
    if ((mayBeServerLine && ServerLine(rest, bytes, facts)) || (mayBeMarkedChat && MarkedChat(rest, bytes, facts)))
        Learn(facts);
    else if (!(mayBeKnownNameChat && KnownNameChat(rest, bytes, facts)) && mayBePhraseLine &&
             PhraseLine(rest, bytes, facts)) // a known speaker needs no learning
        Learn(facts);
    return facts;
}

TLineClassifier::TSpelling* TLineClassifier::SpellingPlace(std::string_view name, TSpelling& spelling)
{
    const std::size_t size = name.size();
    if (size == 0 || size > 16)
        return nullptr;
    spelling.Size = size;
    if (size >= 8) {
        std::memcpy(&spelling.First, name.data(), 8);
        std::memcpy(&spelling.Last, name.data() + size - 8, 8);
    } else if (size >= 4) {
        std::uint32_t first = 0, last = 0;
        std::memcpy(&first, name.data(), 4);
        std::memcpy(&last, name.data() + size - 4, 4);
        spelling.First = first;
        spelling.Last = last;
    } else {
        for (char c : name)
            spelling.First = spelling.First << 8 | static_cast<unsigned char>(c);
    }
    const std::uint64_t mixed = (spelling.First * 0x9E3779B97F4A7C15u) ^ (spelling.Last * 0xC2B2AE3D27D4EB4Fu) ^ size;
    return &FSpellings[(mixed >> 32) % SpellingPlaces];
}

bool TLineClassifier::KnowsPlayer(std::string_view name)
{
    if (FPlayerCount == 0)
        return false;
    TSpelling spelling;
    TSpelling* const place = SpellingPlace(name, spelling);
    if (place && *place == spelling)
        return true;
    const std::uint64_t hash = NameHash(name);
    const std::size_t mask = FPlayers.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        if (FPlayers[at] == hash) {
            if (place)
                *place = spelling;
            return true;
        }
        if (FPlayers[at] == 0)
            return false;
    }
}

void TLineClassifier::LearnName(std::string_view name)
{
    if (name.empty())
        return;
    TSpelling spelling;
    TSpelling* const place = SpellingPlace(name, spelling);
    if (place && *place == spelling)
        return;
    if (FPlayerCount >= MaxPlayers)
        return;
    if (FPlayers.empty())
        FPlayers.assign(FirstTableSize, 0);
    if (place)
        *place = spelling; // known from here on
    const std::uint64_t hash = NameHash(name);
    std::size_t mask = FPlayers.size() - 1;
    std::size_t at = hash & mask;
    for (; FPlayers[at] != 0; at = (at + 1) & mask)
        if (FPlayers[at] == hash)
            return;
    FPlayers[at] = hash;
    // Kept at most half full, so that a search soon meets a free place.
    if (++FPlayerCount * 2 > FPlayers.size()) {
        std::vector<std::uint64_t> old(FPlayers.size() * 2, 0);
        old.swap(FPlayers);
        mask = FPlayers.size() - 1;
        for (std::uint64_t h : old)
            if (h != 0) {
                for (at = h & mask; FPlayers[at] != 0; at = (at + 1) & mask) {
                }
                FPlayers[at] = h;
            }
    }
}

void TLineClassifier::Learn(const TLineFacts& facts)
{
    switch (facts.Kind) {
    case TLineKind::Chat:
    case TLineKind::Team:
    case TLineKind::Tell:
        LearnName(facts.Speaker);
        LearnName(facts.Addressee);
        break;
    case TLineKind::Kill:
        LearnName(facts.Killer);
        LearnName(facts.Victim);
        break;
    case TLineKind::Event:
        LearnName(facts.Player);
        LearnName(facts.NewName);
        break;
    case TLineKind::Other:
        break;
    }
}

bool TLineClassifier::SplitSpeaker(std::string_view text, TLineBytes bytes, bool knownOnly, TLineFacts& facts)
{
    // The first ": " ends the name, unless a later one follows a known name.
    std::size_t chosen = std::string_view::npos;
    for (std::uint64_t ends = bytes.Colons & (bytes.Spaces >> 1); ends != 0; ends &= ends - 1) {
        const auto at = static_cast<std::size_t>(std::countr_zero(ends));
        const std::string_view name = text.substr(0, at);
        if (!IsName(TrimCodes(name)))
            continue;
        if (KnowsPlayer(name)) {
            chosen = at;
            break;
        }
        if (!knownOnly && chosen == std::string_view::npos)
            chosen = at;
    }
    if (chosen == std::string_view::npos)
        return false;
    facts.Speaker = TrimCodes(text.substr(0, chosen));
    facts.Text = text.substr(chosen + 2);
    return true;
}

bool TLineClassifier::ServerLine(std::string_view rest, TLineBytes bytes, TLineFacts& facts)
{
    // The phrases in the order of the table, the first that matches taken.
    const TLineRule* rule = nullptr;
    for (unsigned rules = ServerRulesByFirstByte[static_cast<unsigned char>(rest[0])]; rules != 0 && !rule;
         rules &= rules - 1) {
        const auto k = static_cast<std::size_t>(std::countr_zero(rules));
        if ((bytes.Colons >> PhraseColons[k] & 1) != 0 && rest.starts_with(Rules[k].Phrase))
            rule = &Rules[k];
    }
    if (!rule)
        return false;
    rest.remove_prefix(rule->Phrase.size());
    bytes.Spaces >>= rule->Phrase.size();
    bytes.Colons >>= rule->Phrase.size();
    facts.Kind = rule->Kind;
    facts.Event = rule->Event;
    if (ServerLineRest(*rule, rest, bytes, facts))
        return true;
    facts = TLineFacts();
    return false;
}

bool TLineClassifier::ServerLineRest(const TLineRule& rule, std::string_view rest, TLineBytes bytes,
                                     TLineFacts& facts)
{
    switch (rule.Form) {
    case F::ServerSay:
    case F::ServerSayTeam:
        return SplitSpeaker(rest, bytes, false, facts);
    case F::ServerTell: {
        // "A to B: text"
        const std::size_t to = rest.find(" to ");
        const std::size_t colon = to == std::string_view::npos ? to : rest.find(": ", to + 4);
        if (colon == std::string_view::npos || !IsName(TrimCodes(rest.substr(0, to))))
            return false;
        facts.Speaker = TrimCodes(rest.substr(0, to));
        facts.Addressee = TrimCodes(rest.substr(to + 4, colon - to - 4));
        facts.Text = rest.substr(colon + 2);
        return true;
    }
    case F::ServerKill: {
        // "KILLER VICTIM MEANS: A killed B by MOD_X"
        const int killer = TakeSlot(rest);
        const int victim = Take(rest, " ") ? TakeSlot(rest) : -1;
        const bool hasMeans = Take(rest, " ") && TakeSlot(rest) >= 0;
        if (killer < 0 || victim < 0 || !hasMeans || !Take(rest, ": "))
            return false;
        constexpr std::string_view Killed = " killed ";
        constexpr std::string_view By = " by ";
        const std::size_t killed = rest.find(Killed);
        const std::size_t by = rest.rfind(By);
        if (killed == std::string_view::npos || by == std::string_view::npos || by < killed + Killed.size())
            return false;
        facts.KillerSlot = killer;
        facts.Slot = victim;
        facts.MeansText = rest.substr(by + By.size());
        MeansOfDeathFromName(facts.MeansText, facts.Means);
        facts.Victim = TrimCodes(rest.substr(killed + Killed.size(), by - killed - Killed.size()));
        facts.ByWorld = killer >= FirstWorldSlot;
        if (!facts.ByWorld) {
            facts.Killer = TrimCodes(rest.substr(0, killed));
            facts.Suicide = killer == victim;
        }
        return true;
    }
    case F::ServerInitGame:
        return true;
    case F::ServerShutdownGame:
        return rest.find_first_not_of(' ') == std::string_view::npos;
    case F::ServerConnect:
    case F::ServerBegin:
    case F::ServerDisconnect:
        facts.Slot = TakeSlot(rest);
        return facts.Slot >= 0 && rest.empty();
    case F::ServerUserinfo:
        facts.Slot = TakeSlot(rest);
        if (facts.Slot < 0 || !Take(rest, " "))
            return false;
        // Key\value pairs separated by backslashes: n is the name, t the team.
        while (!rest.empty()) {
            const std::size_t keyEnd = rest.find('\\');
            if (keyEnd == std::string_view::npos)
                break;
            const std::string_view key = rest.substr(0, keyEnd);
            rest.remove_prefix(keyEnd + 1);
            const std::size_t valueEnd = std::min(rest.find('\\'), rest.size());
            const std::string_view value = rest.substr(0, valueEnd);
            rest.remove_prefix(std::min(valueEnd + 1, rest.size()));
            if (key == "n")
                facts.Player = value;
            else if (key == "t")
                facts.Team = value;
        }
        return true;
    case F::ServerBroadcast:
        // The message the server sent every client, read as they print it.
        if (!rest.ends_with(rule.Suffix))
            return false;
        rest.remove_suffix(rule.Suffix.size());
        facts = TLineFacts();
        return !rest.empty() && PhraseLine(rest, bytes, facts) && facts.Kind == TLineKind::Event;
    default:
        return false;
    }
}

bool TLineClassifier::MarkedChat(std::string_view rest, TLineBytes bytes, TLineFacts& facts)
{
    // Excessive Plus puts the speaker's slot first: "[5^7] Name^s: text",
    // and "[5] Name^7: text" in lines it prints again.
    int slot = -1;
    if (rest.size() > 4 && rest[0] == '[' && IsDigit(rest[1])) {
        std::string_view after = rest.substr(1);
        const int n = TakeSlot(after);
        Take(after, "^7");
        if (n >= 0 && Take(after, "] ")) {
            slot = n;
            bytes.Colons >>= rest.size() - after.size();
            rest = after;
        }
    }
    const std::size_t skip = rest[0] == '\x19' ? 1 : 0;
    const char open = rest.size() > skip ? rest[skip] : '\0';
    if (slot < 0 && (open == '(' || open == '[')) {
        // "(Name^7): text", "(Name^7) (Location): text", the same with 0x19
        // bytes around the name and before the colon, and "[...]" for tells.
        const char close = open == '(' ? ')' : ']';
        const std::string_view inside = rest.substr(skip + 1);
        for (std::size_t end = inside.find(close); end != std::string_view::npos && end <= MaxNameBytes;
             end = inside.find(close, end + 1)) {
            std::string_view name = inside.substr(0, end);
            if (name.ends_with('\x19'))
                name.remove_suffix(1);
            if (!name.ends_with("^7") || !IsName(TrimCodes(name)))
                continue;
            std::string_view after = inside.substr(end + 1);
            if (Take(after, " (")) {
                const std::size_t locationEnd = after.find(')');
                if (locationEnd == std::string_view::npos)
                    continue;
                after.remove_prefix(locationEnd + 1);
            }
            Take(after, "\x19");
            if (!Take(after, ":") || !(after.empty() || Take(after, " ")))
                continue;
            facts.Kind = open == '(' ? TLineKind::Team : TLineKind::Tell;
            facts.Speaker = TrimCodes(name);
            facts.Text = after;
            return true;
        }
        return false;
    }
    // "Name^7: text", "Name^7\x19: text"; Excessive Plus closes the name with "^s".
    for (std::uint64_t colons = bytes.Colons & ~std::uint64_t(7); colons != 0; colons &= colons - 1) {
        const auto colon = static_cast<std::size_t>(std::countr_zero(colons));
        const std::size_t mark = colon - (rest[colon - 1] == '\x19' ? 1 : 0);
        if (mark < 3 || rest[mark - 2] != '^' || (rest[mark - 1] != '7' && rest[mark - 1] != 's'))
            continue;
        const std::size_t textAt = SkipCodes(rest, colon + 1);
        if (textAt < rest.size() && rest[textAt] != ' ')
            continue;
        const std::string_view name = rest.substr(0, mark - 2);
        if (!IsName(TrimCodes(name)))
            continue;
        facts.Kind = TLineKind::Chat;
        facts.Speaker = TrimCodes(name);
        facts.Text = rest.substr(std::min(textAt + 1, rest.size()));
        facts.Slot = slot;
        return true;
    }
    return false;
}

bool TLineClassifier::KnownNameChat(std::string_view rest, TLineBytes bytes, TLineFacts& facts)
{
    if (FPlayerCount == 0)
        return false;
    if (rest[0] == '(') {
        // "(Name) (Location): text"
        for (std::size_t end = rest.find(')'); end != std::string_view::npos && end <= MaxNameBytes;
             end = rest.find(')', end + 1)) {
            std::string_view after = rest.substr(end + 1);
            if (Take(after, " (")) {
                const std::size_t locationEnd = after.find(')');
                if (locationEnd == std::string_view::npos)
                    continue;
                after.remove_prefix(locationEnd + 1);
            }
            if (!Take(after, ": ") || !KnowsPlayer(rest.substr(1, end - 1)))
                continue;
            facts.Kind = TLineKind::Team;
            facts.Speaker = rest.substr(1, end - 1);
            facts.Text = after;
            return true;
        }
    }
    if (!SplitSpeaker(rest, bytes, true, facts))
        return false;
    facts.Kind = TLineKind::Chat;
    return true;
}

bool TLineClassifier::PhraseLine(std::string_view rest, TLineBytes bytes, TLineFacts& facts)
{
    const TPhraseIndex& index = PhraseIndex();
    // Every space after the first byte.
    for (std::uint64_t spaces = bytes.Spaces & ~std::uint64_t(1); spaces != 0; spaces &= spaces - 1) {
        const auto space = static_cast<std::size_t>(std::countr_zero(spaces));
        if (space + 2 >= rest.size())
            break;
        const std::size_t key = TPhraseIndex::KeyOf(rest[space + 1], rest[space + 2]);
        const std::size_t last = index.Ends[key];
        if (last == 0)
            continue;
        const std::uint64_t head = Head(rest.substr(space));
        for (std::size_t k = index.Starts[key]; k < last; ++k) {
            const TPhraseIndex::TEntry& entry = index.Entries[k];
            const TLineRule* rule = entry.Rule;
            if ((head & entry.Mask) != entry.Head || rest.compare(space, rule->Phrase.size(), rule->Phrase) != 0)
                continue;
            const std::string_view first = TrimCodes(rest.substr(0, space));
            if (!IsName(first))
                break;
            std::string_view after = rest.substr(space + rule->Phrase.size());
            switch (rule->Form) {
            case F::KilledBy: {
                std::string_view killer;
                if (rule->Suffix.empty()) {
                    killer = LastName(after);
                } else {
                    if (after.ends_with('.'))
                        after.remove_suffix(1);
                    if (!after.ends_with(rule->Suffix))
                        continue;
                    killer = TrimCodes(after.substr(0, after.size() - rule->Suffix.size()));
                }
                if (!IsName(killer))
                    continue;
                facts.Killer = killer;
                facts.Victim = first;
                break;
            }
            case F::KilledSelf:
            case F::KilledByWorld:
                if (!EndsMessage(after))
                    continue;
                facts.Victim = first;
                facts.Suicide = rule->Form == F::KilledSelf;
                facts.ByWorld = rule->Form == F::KilledByWorld;
                if (facts.Suicide)
                    facts.Killer = first;
                break;
            case F::PlayerEvent:
                if (!EndsMessage(after))
                    continue;
                facts.Player = first;
                break;
            case F::Renamed: {
                const std::string_view newName = LastName(after);
                if (!IsName(newName))
                    continue;
                facts.Player = first;
                facts.NewName = newName;
                break;
            }
            case F::JoinedTeam: {
                // "the red team.", "the spectators."
                std::string_view team = TrimCodes(after);
                if (team.ends_with('.'))
                    team.remove_suffix(1);
                if (team.empty() || team.size() > 16 || team.find('.') != std::string_view::npos)
                    continue;
                facts.Player = first;
                facts.Team = team;
                break;
            }
            default:
                continue;
            }
            facts.Kind = rule->Kind;
            facts.Means = rule->Means;
            facts.Event = rule->Event;
            if (facts.Kind == TLineKind::Kill)
                facts.MeansText = MeansOfDeathName(rule->Means);
            return true;
        }
    }
    return false;
}

} // namespace velmora
