#include "conversion/UPlayerStats.h"

#include <algorithm>
#include <utility>

#include "conversion/UShownText.h"
#include "platform/UText.h"

namespace velmora {

namespace {

// The most client slots followed; servers have 64 at most.
constexpr std::size_t MaxSlots = 256;

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

const std::string& TPlayerStats::Key(std::string_view name)
{
    FKey.clear();
    AppendPlayerName(FKey, name);
    if (!FAliases.empty())
        if (const auto alias = FAliases.find(FKey); alias != FAliases.end())
            FKey = alias->second;
    return FKey;
}

std::size_t TPlayerStats::Get(const std::string& key, std::uint64_t line)
{
    const auto [at, added] = FByName.try_emplace(key, FRecords.size());
    if (added)
        FRecords.emplace_back().Name = key;
    TRecord& record = FRecords[at->second];
    if (record.FirstLine == 0)
        record.FirstLine = line;
    return at->second;
}

void TPlayerStats::Add(const TLineFacts& facts, std::uint64_t line)
{
    switch (facts.Kind) {
    case TLineKind::Chat:
    case TLineKind::Team:
    case TLineKind::Tell: {
        TRecord& speaker = FRecords[Get(Key(facts.Speaker), line)];
        ++speaker.ChatLines;
        speaker.Words += CountWords(facts.Text);
        if (!facts.Addressee.empty())
            Get(Key(facts.Addressee), line);
        break;
    }
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
    const std::size_t victim = Get(Key(facts.Victim), line);
    ++FRecords[victim].Deaths;
    if (facts.Suicide) {
        ++FRecords[victim].Suicides;
        return;
    }
    if (facts.ByWorld || facts.Killer.empty())
        return;
    const std::size_t killer = Get(Key(facts.Killer), line);
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
        Rename(std::string(Key(facts.Player)), std::string(Key(facts.NewName)), line);
        return;
    case TGameEvent::Userinfo: {
        // A server's name for a client: a new one for a slot still held by
        // the same client in this game is a rename.
        if (facts.Player.empty() || facts.Slot < 0 || static_cast<std::size_t>(facts.Slot) >= MaxSlots)
            return;
        const auto slot = static_cast<std::size_t>(facts.Slot);
        if (FSlots.size() <= slot)
            FSlots.resize(slot + 1);
        std::string key = Key(facts.Player);
        if (!FSlots[slot].empty())
            Rename(FSlots[slot], key, line);
        else
            Get(key, line);
        FSlots[slot] = std::move(key);
        return;
    }
    case TGameEvent::Connect:
    case TGameEvent::Disconnect:
        // A slot connecting or leaving is another client's next time.
        if (facts.Slot >= 0 && static_cast<std::size_t>(facts.Slot) < FSlots.size())
            FSlots[static_cast<std::size_t>(facts.Slot)].clear();
        break;
    case TGameEvent::Enter:
    case TGameEvent::TeamJoin:
        break;
    }
    if (!facts.Player.empty())
        Get(Key(facts.Player), line);
}

void TPlayerStats::Rename(const std::string& oldKey, const std::string& newKey, std::uint64_t line)
{
    if (oldKey == newKey)
        return;
    const auto from = FByName.find(oldKey);
    if (from == FByName.end()) {
        // Nothing counted under the old name yet.
        TRecord& record = FRecords[Get(newKey, line)];
        AddEarlierName(record.EarlierNames, oldKey, record.Name);
        return;
    }
    const std::size_t moving = from->second;
    FByName.erase(from);
    const auto [to, added] = FByName.try_emplace(newKey, moving);
    if (added) {
        TRecord& record = FRecords[moving];
        AddEarlierName(record.EarlierNames, record.Name, newKey);
        record.Name = newKey;
    } else {
        // The new name has counts of its own: both are summed in Players.
        FRecords[moving].MergedInto = to->second;
    }
    if (FRecords[Root(moving)].FirstLine == 0)
        FRecords[Root(moving)].FirstLine = line;
}

std::size_t TPlayerStats::Root(std::size_t record) const
{
    while (FRecords[record].MergedInto != None)
        record = FRecords[record].MergedInto;
    return record;
}

std::vector<TPlayerSummary> TPlayerStats::Players() const
{
    // Each record's counts go to the record its player ended up with.
    std::vector<std::size_t> rootOf(FRecords.size());
    std::vector<std::size_t> summaryOf(FRecords.size(), None);
    std::vector<TPlayerSummary> players;
    std::vector<std::array<std::uint64_t, MeansCount>> means;
    for (std::size_t k = 0; k < FRecords.size(); ++k) {
        rootOf[k] = Root(k);
        if (rootOf[k] == k) {
            summaryOf[k] = players.size();
            players.emplace_back().Name = FRecords[k].Name;
            means.emplace_back();
        }
    }
    for (std::size_t k = 0; k < FRecords.size(); ++k) {
        const TRecord& record = FRecords[k];
        const std::size_t at = summaryOf[rootOf[k]];
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
        if (k != rootOf[k])
            AddEarlierName(player.EarlierNames, record.Name, player.Name);
    }
    for (std::size_t at = 0; at < players.size(); ++at)
        for (std::size_t m = 0; m < MeansCount; ++m)
            if (means[at][m] != 0)
                players[at].WeaponKills[std::string(MeansOfDeathName(static_cast<TMeansOfDeath>(m)))] += means[at][m];

    // Whom each killed most and was killed by most, by final player.
    std::vector<std::map<std::string, std::uint64_t>> victims(players.size()), killers(players.size());
    for (const auto& [pair, kills] : FKillsOf) {
        const std::size_t killer = summaryOf[rootOf[static_cast<std::size_t>(pair >> 32)]];
        const std::size_t victim = summaryOf[rootOf[static_cast<std::size_t>(pair & 0xFFFFFFFFu)]];
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
    std::uint64_t words = 0;
    bool inWord = false;
    for (std::size_t at = 0; at < text.size();) {
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
