#include "conversion/UPlayerStats.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "conversion/UShownText.h"
#include "platform/UText.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define VELMORA_STATS_SSE2 1
#endif

namespace velmora {

namespace {

// The most client slots followed; servers have 64 at most.
constexpr std::size_t MaxSlots = 256;

// Eight and four bytes of text from `at`, in the processor's byte order: one load.
std::uint64_t Load8(std::string_view text, std::size_t at)
{
    std::uint64_t bytes;
    std::memcpy(&bytes, text.data() + at, 8);
    return bytes;
}

std::uint32_t Load4(std::string_view text, std::size_t at)
{
    std::uint32_t bytes;
    std::memcpy(&bytes, text.data() + at, 4);
    return bytes;
}

#ifdef VELMORA_STATS_SSE2
// The set bits of a 16-bit mask (without the popcount instruction, which
// the processors built for need not have).
std::uint32_t BitCount16(std::uint32_t bits)
{
    bits -= (bits >> 1) & 0x5555u;
    bits = (bits & 0x3333u) + ((bits >> 2) & 0x3333u);
    bits = (bits + (bits >> 4)) & 0x0F0Fu;
    return (bits + (bits >> 8)) & 0x1Fu;
}
#endif

} // namespace

// Names are short: up to 16 bytes (nearly all) are mixed whole from two loads
// that may overlap; longer ones go to the library's hash.
std::size_t NameBytesHash(std::string_view name)
{
    const std::size_t size = name.size();
    std::uint64_t first = 0, second = 0;
    if (size > 16) {
        return std::hash<std::string_view>()(name);
    } else if (size >= 8) {
        first = Load8(name, 0);
        second = Load8(name, size - 8);
    } else if (size >= 4) {
        first = Load4(name, 0);
        second = Load4(name, size - 4);
    } else {
        for (char c : name)
            first = first << 8 | static_cast<unsigned char>(c);
    }
    std::uint64_t hash = (first * 0x9E3779B97F4A7C15u) ^ (second * 0xC2B2AE3D27D4EB4Fu) ^ size;
    hash ^= hash >> 29;
    return static_cast<std::size_t>(hash);
}

namespace {

std::uint64_t PairKey(std::size_t killer, std::size_t victim)
{
    return static_cast<std::uint64_t>(killer) << 32 | static_cast<std::uint32_t>(victim);
}

// The name with the highest count of a tally, of equal ones the first.
void MostOf(const std::map<std::string, std::uint64_t>& tally, std::string& name, std::uint64_t& times)
{
    for (const auto& [candidate, count] : tally)
        if (count > times) {
            name = candidate;
            times = count;
        }
}

void AddEarlierName(std::vector<std::string>& names, const std::string& name, const std::string& current)
{
    if (name != current && std::find(names.begin(), names.end(), name) == names.end())
        names.push_back(name);
}

} // namespace

TPlayerStats::TPlayerStats(TPlayerAliases aliases) : FAliases(std::move(aliases)) {}

std::size_t TPlayerStats::TNameTable::PlaceOf(std::string_view name, std::size_t hash) const
{
    const std::size_t mask = FEntries.size() - 1;
    std::size_t at = hash & mask;
    while (FEntries[at].Record != None && (FEntries[at].Hash != hash || FEntries[at].Name != name))
        at = (at + 1) & mask;
    return at;
}

std::size_t TPlayerStats::TNameTable::Find(std::string_view name, std::size_t hash) const
{
    return FEntries.empty() ? None : FEntries[PlaceOf(name, hash)].Record;
}

void TPlayerStats::TNameTable::Insert(std::string_view name, std::size_t hash, std::size_t record)
{
    if (FEntries.size() < 2 * (FCount + 1)) {
        // Grown, every entry placed again.
        std::vector<TEntry> old(std::max<std::size_t>(256, FEntries.size() * 2));
        old.swap(FEntries);
        for (TEntry& entry : old)
            if (entry.Record != None)
                FEntries[PlaceOf(entry.Name, entry.Hash)] = std::move(entry);
    }
    TEntry& entry = FEntries[PlaceOf(name, hash)];
    if (entry.Record == None)
        ++FCount;
    entry = {std::string(name), hash, record};
}

void TPlayerStats::TNameTable::Erase(std::string_view name, std::size_t hash)
{
    const std::size_t mask = FEntries.size() - 1;
    std::size_t hole = PlaceOf(name, hash);
    // Later entries of the same run move up into the hole when their own
    // place is at or before it, so that every search still finds them.
    for (std::size_t next = (hole + 1) & mask; FEntries[next].Record != None; next = (next + 1) & mask) {
        const std::size_t home = FEntries[next].Hash & mask;
        if (((next - home) & mask) >= ((next - hole) & mask)) {
            FEntries[hole] = std::move(FEntries[next]);
            hole = next;
        }
    }
    FEntries[hole] = TEntry();
    --FCount;
}

std::string_view TPlayerStats::Plain(std::string_view name)
{
    // (A loop of its own: find_first_of looks up each byte in the set with a call.)
    if (std::none_of(name.begin(), name.end(), [](char c) { return c == '^' || c == '\x19'; }))
        return name;
    FPlain.clear();
    AppendPlayerName(FPlain, name);
    return FPlain;
}

std::size_t TPlayerStats::Find(std::string_view name)
{
    const std::size_t spelt = FSpellings.Find(name, NameBytesHash(name));
    if (spelt != None)
        return spelt;
    const std::string_view plain = Plain(name);
    return FNames.Find(plain, NameBytesHash(plain));
}

std::size_t TPlayerStats::Get(std::string_view name, std::uint64_t line)
{
    const std::size_t spellingHash = NameBytesHash(name);
    std::size_t record = FSpellings.Find(name, spellingHash);
    if (record == None) {
        const std::string_view plain = Plain(name);
        const std::size_t hash = NameBytesHash(plain);
        record = FNames.Find(plain, hash);
        if (record == None) {
            if (FRecords.size() >= MaxPlayers)
                return None;
            record = FRecords.size();
            FRecords.emplace_back().Name = plain;
            FNames.Insert(plain, hash, record);
        }
        if (FSpellings.Size() < 2 * MaxPlayers) {
            FSpellings.Insert(name, spellingHash, record);
            FRecords[record].Spellings.emplace_back(name);
        }
    }
    if (FRecords[record].FirstLine == 0)
        FRecords[record].FirstLine = line;
    return record;
}

void TPlayerStats::Add(const TLineFacts& facts, std::uint64_t line)
{
    switch (facts.Kind) {
    case TLineKind::Chat:
    case TLineKind::Team:
    case TLineKind::Tell:
        if (const std::size_t speaker = Get(facts.Speaker, line); speaker != None) {
            ++FRecords[speaker].ChatLines;
            FRecords[speaker].Words += CountWords(facts.Text);
        }
        if (!facts.Addressee.empty())
            Get(facts.Addressee, line);
        break;
    case TLineKind::Kill:
        AddKill(facts, line);
        break;
    case TLineKind::Event:
    case TLineKind::Other:
        AddEvent(facts, line);
        break;
    }
}

void TPlayerStats::AddKill(const TLineFacts& facts, std::uint64_t line)
{
    const std::size_t victim = Get(facts.Victim, line);
    if (victim != None) {
        ++FRecords[victim].Deaths;
        FRecords[victim].Suicides += facts.Suicide;
    }
    if (facts.Suicide || facts.ByWorld || facts.Killer.empty())
        return;
    const std::size_t killer = Get(facts.Killer, line);
    if (killer == None)
        return;
    TRecord& record = FRecords[killer];
    ++record.Kills;
    if (facts.Means == TMeansOfDeath::Unknown && !facts.MeansText.empty() &&
        facts.MeansText != MeansOfDeathName(TMeansOfDeath::Unknown)) {
        auto found = record.OtherMeansKills.find(facts.MeansText);
        if (found == record.OtherMeansKills.end())
            found = record.OtherMeansKills.emplace(std::string(facts.MeansText), 0).first;
        ++found->second;
    } else {
        ++record.MeansKills[static_cast<std::size_t>(facts.Means)];
    }
    if (victim != None)
        ++FKillsOf[PairKey(killer, victim)];
}

void TPlayerStats::AddEvent(const TLineFacts& facts, std::uint64_t line)
{
    switch (facts.Event) {
    case TGameEvent::None:
        return;
    case TGameEvent::GameStart:
    case TGameEvent::GameEnd:
        ForgetSlots();
        return;
    case TGameEvent::Rename:
        if (const std::size_t record = Find(facts.Player); record != None) {
            Rename(record, facts.NewName, line);
        } else if (const std::size_t renamed = Get(facts.NewName, line); renamed != None) {
            // Nothing counted under the old name yet.
            AddEarlierName(FRecords[renamed].EarlierNames, PlayerName(facts.Player), FRecords[renamed].Name);
        }
        return;
    case TGameEvent::Userinfo: {
        // A server's name for a client: a new one for a slot still held by
        // the same client in this game is a rename.
        if (facts.Player.empty() || facts.Slot < 0 || static_cast<std::size_t>(facts.Slot) >= MaxSlots)
            return;
        const auto slot = static_cast<std::size_t>(facts.Slot);
        if (FSlots.size() <= slot)
            FSlots.resize(slot + 1, None);
        if (FSlots[slot] != None)
            Rename(FSlots[slot], facts.Player, line);
        FSlots[slot] = Get(facts.Player, line);
        return;
    }
    case TGameEvent::Connect:
    case TGameEvent::Disconnect:
        // A slot connecting or leaving is another client's next time.
        if (facts.Slot >= 0 && static_cast<std::size_t>(facts.Slot) < FSlots.size())
            FSlots[static_cast<std::size_t>(facts.Slot)] = None;
        break;
    case TGameEvent::Enter:
    case TGameEvent::TeamJoin:
        break;
    }
    if (!facts.Player.empty())
        Get(facts.Player, line);
}

void TPlayerStats::Rename(std::size_t record, std::string_view newName, std::uint64_t line)
{
    record = Root(record);
    TRecord& moving = FRecords[record];
    const std::string name = PlayerName(newName);
    const std::size_t hash = NameBytesHash(name);
    const std::size_t taken = FNames.Find(name, hash);
    if (taken == record)
        return; // the same name, or only its colours changed
    FNames.Erase(moving.Name, NameBytesHash(moving.Name));
    // The names as written of the old name may now stand for another player.
    for (const std::string& spelling : moving.Spellings)
        FSpellings.Erase(spelling, NameBytesHash(spelling));
    moving.Spellings.clear();
    if (taken == None) {
        AddEarlierName(moving.EarlierNames, moving.Name, name);
        moving.Name = name;
        FNames.Insert(name, hash, record);
    } else {
        // The new name has counts of its own: both are summed in Players.
        moving.MergedInto = taken;
    }
    if (FRecords[Root(record)].FirstLine == 0)
        FRecords[Root(record)].FirstLine = line;
}

std::size_t TPlayerStats::Root(std::size_t record) const
{
    while (FRecords[record].MergedInto != None)
        record = FRecords[record].MergedInto;
    return record;
}

std::vector<TPlayerSummary> TPlayerStats::Players() const
{
    // Each record's counts go to the player it ended up with: the record its
    // player renamed into, then the name its alias stands for.
    std::map<std::string, std::size_t> byName;
    std::vector<std::size_t> summaryOf(FRecords.size(), None);
    std::vector<TPlayerSummary> players;
    std::vector<std::array<std::uint64_t, MeansCount>> means;
    for (std::size_t k = 0; k < FRecords.size(); ++k) {
        if (Root(k) != k)
            continue;
        const auto alias = FAliases.find(FRecords[k].Name);
        const std::string& name = alias != FAliases.end() ? alias->second : FRecords[k].Name;
        const auto [at, added] = byName.try_emplace(name, players.size());
        if (added) {
            players.emplace_back().Name = name;
            means.emplace_back();
        }
        summaryOf[k] = at->second;
    }
    for (std::size_t k = 0; k < FRecords.size(); ++k) {
        const TRecord& record = FRecords[k];
        const std::size_t at = summaryOf[Root(k)];
        TPlayerSummary& player = players[at];
        if (record.FirstLine != 0 && (player.FirstLine == 0 || record.FirstLine < player.FirstLine))
            player.FirstLine = record.FirstLine;
        player.ChatLines += record.ChatLines;
        player.Words += record.Words;
        player.Kills += record.Kills;
        player.Deaths += record.Deaths;
        player.Suicides += record.Suicides;
        for (std::size_t m = 0; m < MeansCount; ++m)
            means[at][m] += record.MeansKills[m];
        for (const auto& [text, kills] : record.OtherMeansKills)
            player.WeaponKills[AsUtf8(text)] += kills;
        for (const std::string& name : record.EarlierNames)
            AddEarlierName(player.EarlierNames, name, player.Name);
        AddEarlierName(player.EarlierNames, record.Name, player.Name);
    }
    for (std::size_t at = 0; at < players.size(); ++at)
        for (std::size_t m = 0; m < MeansCount; ++m)
            if (means[at][m] != 0)
                players[at].WeaponKills[std::string(MeansOfDeathName(static_cast<TMeansOfDeath>(m)))] += means[at][m];

    // Whom each killed most and was killed by most, by final player.
    std::vector<std::map<std::string, std::uint64_t>> victims(players.size()), killers(players.size());
    for (const auto& [pair, kills] : FKillsOf) {
        const std::size_t killer = summaryOf[Root(static_cast<std::size_t>(pair >> 32))];
        const std::size_t victim = summaryOf[Root(static_cast<std::size_t>(pair & 0xFFFFFFFFu))];
        if (killer == victim)
            continue;
        victims[killer][players[victim].Name] += kills;
        killers[victim][players[killer].Name] += kills;
    }
    for (std::size_t at = 0; at < players.size(); ++at) {
        TPlayerSummary& player = players[at];
        MostOf(victims[at], player.MostKilled, player.MostKilledTimes);
        MostOf(killers[at], player.MostKilledBy, player.MostKilledByTimes);
        player.MostKilled = AsUtf8(player.MostKilled);
        player.MostKilledBy = AsUtf8(player.MostKilledBy);
        player.Name = AsUtf8(player.Name);
        for (std::string& name : player.EarlierNames)
            name = AsUtf8(name);
    }
    SortPlayers(players);
    return players;
}

void SortPlayers(std::vector<TPlayerSummary>& players)
{
    std::stable_sort(players.begin(), players.end(), [](const TPlayerSummary& a, const TPlayerSummary& b) {
        if (a.ChatLines != b.ChatLines)
            return a.ChatLines > b.ChatLines;
        if (a.Kills != b.Kills)
            return a.Kills > b.Kills;
        return a.Name < b.Name;
    });
}

std::string TopWeapon(const TPlayerSummary& player)
{
    std::map<std::string, std::uint64_t> byWeapon;
    for (const auto& [text, kills] : player.WeaponKills) {
        TMeansOfDeath means = TMeansOfDeath::Unknown;
        byWeapon[MeansOfDeathFromName(text, means) ? std::string(WeaponName(means)) : text] += kills;
    }
    std::string weapon;
    std::uint64_t kills = 0;
    MostOf(byWeapon, weapon, kills);
    return weapon;
}

std::uint64_t CountWords(std::string_view text)
{
    // A word starts at a byte above the space (control characters count as
    // spaces) after a space or at the text's start.
    std::uint64_t words = 0;
    std::size_t at = 0;
    bool inWord = false;
#ifdef VELMORA_STATS_SSE2
    if (text.empty())
        return 0;
    // Sixteen bytes at a time, up to the first "^", which may start a colour
    // code: one bit per byte above the space. The last bytes are read as the
    // text's last sixteen, of which those already counted are left out; a
    // shorter text is read from a copy padded with zeros, which are spaces.
    const __m128i caret = _mm_set1_epi8('^');
    const __m128i top = _mm_set1_epi8(static_cast<char>(0x80));
    const __m128i space = _mm_set1_epi8(static_cast<char>(' ' ^ 0x80));
    std::uint32_t carry = 0; // 1 while in a word
    auto block = [&](const char* bytesAt, std::size_t from) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytesAt));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, caret)) >> (at - from) != 0)
            return false;
        // Unsigned "above the space" as a signed compare, the bytes' top bits turned.
        const __m128i above = _mm_cmpgt_epi8(_mm_xor_si128(bytes, top), space);
        const auto shown = static_cast<std::uint32_t>(_mm_movemask_epi8(above));
        words += BitCount16(shown & ~(shown << 1 | carry) & (0xFFFFu << (at - from)));
        carry = shown >> 15;
        at = std::min(from + 16, text.size());
        return true;
    };
    if (text.size() < 16) {
        char padded[16] = {};
        std::memcpy(padded, text.data(), text.size());
        block(padded, 0);
    } else {
        while (at + 16 <= text.size() && block(text.data() + at, at)) {
        }
        if (at < text.size() && at + 16 > text.size())
            block(text.data() + text.size() - 16, text.size() - 16);
    }
    inWord = carry != 0;
#endif
    while (at < text.size()) {
        const char c = text[at];
        if (c == '^') {
            if (const std::size_t code = ColorCodeLength(text, at)) {
                at += code; // a code neither starts nor ends a word
                continue;
            }
        }
        ++at;
        if (static_cast<unsigned char>(c) <= ' ') {
            inWord = false;
        } else if (!inWord) {
            inWord = true;
            ++words;
        }
    }
    return words;
}

} // namespace velmora
