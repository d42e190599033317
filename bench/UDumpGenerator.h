// A seeded generator of realistic console dumps for benchmarks: chat lines
// "Name: text", obituaries and game messages from a server with a few regulars, about one line in ten longer
// than a 76-column console line. The same seed always gives the same bytes.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace velmora::bench {

class TDumpGenerator {
public:
    static constexpr int PlayerCount = 100;
    static constexpr int Regulars = 10;

    explicit TDumpGenerator(std::uint32_t seed = 1999);

    // One dump line, without its line ending. About half the lines name a player.
    std::string Line();
    // Writes lines until the file holds at least `bytes` bytes; lines end in
    // CR LF, as the game writes them on Windows, or in lineEnd.
    bool WriteDump(const std::string& path, std::uint64_t bytes, const std::string& lineEnd = "\r\n");

    // Names to highlight: the first `count` players. The ten regulars speak
    // in about half of all lines and the other ninety in about a tenth, so
    // with 10 or 100 names about half of the lines contain one.
    static std::vector<std::string> HighlightNames(int count);
    static std::string Player(int k);
    // `count` names "Player000:", "Player001:", ...: none occurs in a dump,
    // but "PLAY", "LAYE", ... (ignoring case) do, and all names share them.
    static std::vector<std::string> NumberedNames(int count);

private:
    int Pick(int n) { return static_cast<int>(FRandom() % static_cast<std::uint32_t>(n)); }
    std::string Words(int minWords, int maxWords);
    std::string ChatText();
    std::string SomePlayer();
    std::string PlayerLine();
    std::string GameLine();

    std::mt19937 FRandom;
};

} // namespace velmora::bench
