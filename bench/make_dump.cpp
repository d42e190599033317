// Writes a generated console dump of a given size, for whole-program runs:
// lines end in CR LF unless the fourth argument is "lf". With --names COUNT
// it prints COUNT highlight names instead, one a line: the dump's players
// first (with 10 or more, about half the lines hold one), then "Player000:"...
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "UDumpGenerator.h"

using velmora::bench::TDumpGenerator;

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--names") {
        const int count = std::atoi(argv[2]);
        const int players = std::min(count, TDumpGenerator::PlayerCount);
        for (const std::string& name : TDumpGenerator::HighlightNames(players))
            std::printf("%s\n", name.c_str());
        for (const std::string& name : TDumpGenerator::NumberedNames(count - players))
            std::printf("%s\n", name.c_str());
        return 0;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s PATH BYTES [SEED [lf]]\n       %s --names COUNT\n", argv[0], argv[0]);
        return 2;
    }
    unsigned long long bytes = std::strtoull(argv[2], nullptr, 10);
    auto seed = static_cast<std::uint32_t>(argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 1999);
    TDumpGenerator generator(seed);
    const bool lf = argc > 4 && std::string(argv[4]) == "lf";
    if (!generator.WriteDump(argv[1], bytes, lf ? "\n" : "\r\n")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
