// Writes a generated console dump of a given size, for whole-program runs:
// lines end in CR LF unless the fourth argument is "lf".
#include <cstdio>
#include <cstdlib>
#include <string>

#include "UDumpGenerator.h"

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s PATH BYTES [SEED [lf]]\n", argv[0]);
        return 2;
    }
    unsigned long long bytes = std::strtoull(argv[2], nullptr, 10);
    auto seed = static_cast<std::uint32_t>(argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 1999);
    velmora::bench::TDumpGenerator generator(seed);
    const bool lf = argc > 4 && std::string(argv[4]) == "lf";
    if (!generator.WriteDump(argv[1], bytes, lf ? "\n" : "\r\n")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
