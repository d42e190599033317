// Counting and splitting dump lines 64 bytes at a time must agree with
// reading the text byte by byte, wherever line endings and NULs fall.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "conversion/UDumpText.h"

namespace velmora {
namespace {

// The lines of bytes read one byte at a time: the text stops at a NUL;
// CR, LF and CR LF end a line; a last line without an ending counts.
std::vector<std::string> LinesByBytes(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (std::size_t i = 0; i < bytes.size() && bytes[i] != '\0'; ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            line += c;
            open = true;
        }
    }
    if (open)
        lines.push_back(line);
    return lines;
}

TEST(DumpText, BlockwiseSplitAgreesWithByteByByte)
{
    // Few distinct bytes, so that endings pair up across block edges often;
    // lengths reach past several blocks of 64.
    std::mt19937 random(64);
    const std::string alphabet("ab\r\n\r\n", 6);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(std::uniform_int_distribution<std::size_t>(0, 300)(random), ' ');
        for (char& c : bytes)
            c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)];
        if (round % 4 == 0 && !bytes.empty())
            bytes[std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(random)] = '\0';
        const std::vector<std::string> expected = LinesByBytes(bytes);
        const TDumpText dump = ScanDump(bytes);
        ASSERT_EQ(dump.Lines, expected.size()) << round;
        TDumpLineReader reader(dump.Text);
        std::vector<std::string> lines;
        for (std::string_view line; reader.Next(line);)
            lines.emplace_back(line);
        ASSERT_EQ(lines, expected) << round;
    }
}

} // namespace
} // namespace velmora
