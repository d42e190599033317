// Line shapes follow real dumps: "Name: text" chat, "A was railed by B",
// server prints, item pickups and colour codes such as "^1".
#include "UDumpGenerator.h"

#include <array>
#include <cstdio>

namespace velmora::bench {

namespace {
const std::array<const char*, 20> FirstParts = {"Rapid", "Dark", "Silent", "Crazy", "Iron",  "Red",   "Lone",
                                                "Mad",   "Holy", "Frost",  "Toxic", "Quick", "Grim",  "Lucky",
                                                "Void",  "Neon", "Rusty",  "Wild",  "Storm", "Ghost"};
const std::array<const char*, 5> LastParts = {"Fox", "Rail", "Wolf", "Viper", "Hawk"};
const std::array<const char*, 24> Vocabulary = {
    "gg",    "nice",  "shot",   "rail",  "rocket", "quad",  "armor", "mega", "lol",  "wtf",  "camping", "again",
    "where", "enemy", "flag",   "base",  "help",   "lag",   "ping",  "map",  "next", "vote", "please",  "ready"};
const std::array<const char*, 6> Weapons = {"was railed by", "was gunned down by", "was shredded by", "was blasted by",
                                            "almost dodged", "was melted by"};
const std::array<const char*, 8> GameMessages = {
    "Vote passed.", "Item: 3 weapon_railgun", "^3Server: match starts in 10 seconds",
    "broadcast: print \"Waiting for players\\n\"", "------- Game Initialization -------",
    "gamename: baseq3", "ShutdownGame:", "Timelimit hit."};
} // namespace

TDumpGenerator::TDumpGenerator(std::uint32_t seed) : FRandom(seed) {}

std::string TDumpGenerator::Player(int k)
{
    // Some players wear a clan tag or a colour code, as on real servers.
    std::string name = std::string(FirstParts[static_cast<std::size_t>(k % 20)]) + LastParts[static_cast<std::size_t>(k / 20)];
    if (k % 7 == 3)
        return "^1" + name;
    if (k % 11 == 5)
        return "[Q" + std::to_string(k % 4) + "]" + name;
    return name;
}

std::vector<std::string> TDumpGenerator::HighlightNames(int count)
{
    std::vector<std::string> names;
    for (int k = 0; k < count && k < PlayerCount; ++k)
        names.push_back(Player(k));
    return names;
}

std::string TDumpGenerator::SomePlayer()
{
    return Player(Pick(6) < 5 ? Pick(Regulars) : Regulars + Pick(PlayerCount - Regulars));
}

std::string TDumpGenerator::Words(int minWords, int maxWords)
{
    std::string text;
    int n = minWords + Pick(maxWords - minWords + 1);
    for (int i = 0; i < n; ++i) {
        if (i)
            text += ' ';
        text += Vocabulary[static_cast<std::size_t>(Pick(static_cast<int>(Vocabulary.size())))];
    }
    return text;
}

std::string TDumpGenerator::ChatText()
{
    // Chat makes up close to two fifths of a dump; one chat line in four
    // runs past the console's 76 columns, so about one line in ten overall.
    return Pick(4) == 0 ? Words(16, 28) : Words(1, 7);
}

std::string TDumpGenerator::PlayerLine()
{
    std::string who = SomePlayer();
    switch (Pick(4)) {
    case 0:
        return who + " " + Weapons[static_cast<std::size_t>(Pick(6))] + " " + SomePlayer();
    case 1:
        return who + "^7 entered the game";
    default:
        return who + ": " + ChatText();
    }
}

std::string TDumpGenerator::GameLine()
{
    if (Pick(5) == 0)
        return "^1Server^7: " + ChatText();
    return GameMessages[static_cast<std::size_t>(Pick(static_cast<int>(GameMessages.size())))];
}

std::string TDumpGenerator::Line()
{
    return Pick(5) < 3 ? PlayerLine() : GameLine();
}

std::vector<std::string> TDumpGenerator::NumberedNames(int count)
{
    std::vector<std::string> names;
    for (int k = 0; k < count; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "Player%03d:", k);
        names.emplace_back(name);
    }
    return names;
}

bool TDumpGenerator::WriteDump(const std::string& path, std::uint64_t bytes, const std::string& lineEnd)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    std::uint64_t written = 0;
    bool ok = true;
    while (ok && written < bytes) {
        std::string line = Line() + lineEnd;
        ok = std::fwrite(line.data(), 1, line.size(), f) == line.size();
        written += line.size();
    }
    return std::fclose(f) == 0 && ok;
}

} // namespace velmora::bench
