// Counting and splitting dump lines many bytes at a time must agree with
// reading the text byte by byte, wherever line endings and NULs fall.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
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

TEST(DumpText, BlockwiseCountAndSplitAgreeWithByteByByte)
{
    // Few distinct bytes, so that endings pair up across block edges often;
    // lengths reach past several blocks of 64, some past the 4080 bytes after
    // which the counter adds up its byte counters. The counter is given the
    // bytes in pieces of random size.
    std::mt19937 random(64);
    const std::string alphabet("ab\r\n\r\n", 6);
    auto below = [&random](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(below(round % 50 == 0 ? 10000 : 300), ' ');
        for (char& c : bytes)
            c = alphabet[below(alphabet.size())];
        if (round % 50 == 1) // nothing but line ends: every byte counter fills up
            bytes = std::string(5000 + below(100), round % 100 == 1 ? '\n' : '\r');
        if (round % 4 == 0 && !bytes.empty())
            bytes[below(bytes.size())] = '\0';
        const std::vector<std::string> expected = LinesByBytes(bytes);
        TLineCounter counter;
        for (std::size_t at = 0; at < bytes.size();) {
            const std::size_t piece = std::min(bytes.size() - at, below(round % 3 ? 100 : 20000));
            counter.Add(std::string_view(bytes).substr(at, piece));
            at += piece;
        }
        ASSERT_EQ(counter.Lines(), expected.size()) << round;
        TDumpLineReader reader(std::string_view(bytes).substr(0, counter.TextSize()));
        std::vector<std::string> lines;
        for (std::string_view line; reader.Next(line);)
            lines.emplace_back(line);
        ASSERT_EQ(lines, expected) << round;
    }
}

TEST(DumpText, ByteBitsAgreeWithByteByByte)
{
    // Every length up to past the 64 bytes looked at, so that each way of
    // taking the bytes (sixteen, eight or one at a time, a last piece that
    // overlaps) is met; bytes from 0x80 and next to the ones looked for.
    std::mt19937 random(8);
    const std::string alphabet(" :;9\x80\xBA\xFF" "a");
    for (std::size_t size = 0; size <= 80; ++size)
        for (int round = 0; round < 20; ++round) {
            std::string text(size, ' ');
            for (char& c : text)
                c = alphabet[random() % alphabet.size()];
            std::array<std::uint64_t, 2> expected{0, 0};
            for (std::size_t at = 0; at < std::min<std::size_t>(size, 64); ++at) {
                expected[0] |= std::uint64_t(text[at] == ' ') << at;
                expected[1] |= std::uint64_t(text[at] == ':') << at;
            }
            ASSERT_EQ(ByteBits(text, ' ', ':'), expected) << size << " " << round;
        }
}

} // namespace
} // namespace velmora
