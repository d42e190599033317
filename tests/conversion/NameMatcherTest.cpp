// The matcher that finds the first listed name of a line in one pass must
// agree with searching each name in turn.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/UConvertClass.h"
#include "conversion/UNameMatcher.h"

namespace velmora {
namespace {

// The first name in list order that ContainsName finds, or -1.
int FirstByName(const std::vector<std::string>& names, const std::string& line, bool ignoreCase)
{
    for (std::size_t k = 0; k < names.size(); ++k)
        if (ContainsName(names[k], line, ignoreCase) > 0)
            return static_cast<int>(k);
    return -1;
}

std::vector<std::string_view> Views(const std::vector<std::string>& names)
{
    return {names.begin(), names.end()};
}

TEST(NameMatcher, ListOrderNotPositionDecides)
{
    std::vector<std::string> names = {"Bob", "Ann", "nn", "An"};
    TNameMatcher matcher(Views(names), false);
    EXPECT_EQ(matcher.FirstMatch("Ann said hi to Bob"), 0);
    EXPECT_EQ(matcher.FirstMatch("Ann said hi"), 1);
    EXPECT_EQ(matcher.FirstMatch("Anx nn"), 2);
    EXPECT_EQ(matcher.FirstMatch("An"), 3);
    EXPECT_EQ(matcher.FirstMatch("nobody"), -1);
    EXPECT_EQ(matcher.FirstMatch(""), -1);
}

TEST(NameMatcher, SuffixOfAnotherNameIsFound)
{
    // "she" passes through "he": the shorter name must be seen at that point.
    std::vector<std::string> names = {"x", "he", "she", "hers"};
    TNameMatcher matcher(Views(names), false);
    EXPECT_EQ(matcher.FirstMatch("ushers"), 1);
}

TEST(NameMatcher, RepeatedNameKeepsItsFirstPlace)
{
    std::vector<std::string> names = {"", "abc", "abc", "b"};
    TNameMatcher matcher(Views(names), false);
    EXPECT_TRUE(matcher.HasNames());
    EXPECT_EQ(matcher.FirstMatch("xabcx"), 1);
    EXPECT_EQ(matcher.FirstMatch("b"), 3);
}

TEST(NameMatcher, NoNamesOrOnlyEmptyNamesMatchNothing)
{
    std::vector<std::string> empty = {"", ""};
    EXPECT_FALSE(TNameMatcher(Views(empty), true).HasNames());
    EXPECT_EQ(TNameMatcher(Views(empty), true).FirstMatch("anything"), -1);
    EXPECT_EQ(TNameMatcher({}, false).FirstMatch("anything"), -1);
}

TEST(NameMatcher, EveryByteValueCanBeAName)
{
    std::vector<std::string> names;
    for (int b = 0; b < 256; ++b)
        names.emplace_back(1, static_cast<char>(255 - b));
    TNameMatcher matcher(Views(names), true);
    EXPECT_EQ(matcher.FirstMatch(std::string(1, '\0')), 255);
    EXPECT_EQ(matcher.FirstMatch("A"), 255 - 'a') << "the small letter, listed before the capital, matches too";
    EXPECT_EQ(matcher.FirstMatch("\xe9"), 255 - 0xe9);
}

TEST(NameMatcher, IgnoringCaseFoldsOnlyTheLettersAToZ)
{
    // Each line differs from a name only in bit 0x20 of bytes that are not
    // a to z, so it must not match; the bit is left out of the filter keys.
    std::vector<std::string> names = {"[q1]", "^1Fox", "@home", "1234", "\xc9t\xc9s"};
    TNameMatcher matcher(Views(names), true);
    const struct {
        std::string Line;
        int Expected;
    } cases[] = {{"x {Q1} x", -1}, {"x [Q1] x", 0},  {"~1fox", -1},           {"^1FOX", 1},
                 {"`HOME", -1},    {"@Home", 2},     {"\x11\x12\x13\x14", -1}, {"\xe9t\xe9s", -1},
                 {"\xc9T\xc9S", 4}};
    for (const auto& c : cases)
        EXPECT_EQ(matcher.FirstMatch(c.Line), c.Expected) << c.Line;
}

TEST(NameMatcher, AgreesWithNameByNameSearch)
{
    // Small alphabet so that names overlap, share prefixes and suffixes often.
    std::mt19937 random(20240607);
    const std::string alphabet = "aAbB:^1 \xe9\xc9";
    auto text = [&](std::size_t maxLength) {
        std::string s(std::uniform_int_distribution<std::size_t>(0, maxLength)(random), ' ');
        for (char& c : s)
            c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)];
        return s;
    };
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> names(std::uniform_int_distribution<int>(0, 12)(random));
        for (std::string& name : names)
            name = text(4);
        for (bool ignoreCase : {false, true}) {
            TNameMatcher matcher(Views(names), ignoreCase);
            for (int probe = 0; probe < 20; ++probe) {
                std::string line = text(30);
                ASSERT_EQ(matcher.FirstMatch(line), FirstByName(names, line, ignoreCase))
                    << "line '" << line << "' ignoreCase " << ignoreCase;
            }
        }
    }
}

TEST(NameMatcher, LinesInTwoPartsAgreeWithNameByNameSearch)
{
    // Lines of very different lengths, some in two parts, matched one after
    // another by the same matcher, so that its scratch copy is reused.
    std::mt19937 random(7);
    const std::string alphabet = "xyXY:^1";
    auto text = [&](std::size_t maxLength) {
        std::string s(std::uniform_int_distribution<std::size_t>(0, maxLength)(random), ' ');
        for (char& c : s)
            c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)];
        return s;
    };
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> names(std::uniform_int_distribution<int>(1, 6)(random));
        for (std::string& name : names)
            name = text(3);
        std::vector<std::string> firsts(std::uniform_int_distribution<std::size_t>(0, 40)(random));
        std::vector<std::string> seconds(firsts.size());
        for (std::size_t i = 0; i < firsts.size(); ++i) {
            firsts[i] = text(i % 5 == 0 ? 60 : 8);
            if (i % 3 == 0)
                seconds[i] = text(6);
        }
        for (bool ignoreCase : {false, true}) {
            TNameMatcher matcher(Views(names), ignoreCase);
            for (std::size_t i = 0; i < firsts.size(); ++i)
                ASSERT_EQ(matcher.FirstMatch(firsts[i], seconds[i]), FirstByName(names, firsts[i] + seconds[i], ignoreCase))
                    << "line " << i << " '" << firsts[i] << "|" << seconds[i] << "'";
        }
    }
}

TEST(NameMatcher, LongNamesSharingTheirFirstBytesAgreeWithNameByNameSearch)
{
    // Names longer than the part a filter can look at (up to 20 bytes, so that
    // they span several 8-byte words), many beginning alike, with a repeat in
    // the list, in lines of one or two parts that often hold one of them.
    std::mt19937 random(99);
    const std::string alphabet = "aAb\xe9";
    auto text = [&](std::size_t minLength, std::size_t maxLength) {
        std::string s(std::uniform_int_distribution<std::size_t>(minLength, maxLength)(random), ' ');
        for (char& c : s)
            c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)];
        return s;
    };
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> names(std::uniform_int_distribution<int>(1, 30)(random));
        for (std::string& name : names)
            name = text(round % 2 ? 4 : 0, round % 4 < 2 ? 9 : 20);
        names.push_back(names.front());
        for (bool ignoreCase : {false, true}) {
            TNameMatcher matcher(Views(names), ignoreCase);
            for (int probe = 0; probe < 20; ++probe) {
                std::string first = text(0, 40);
                if (probe % 3 == 0) // a listed name, so that long names are found too
                    first.insert(first.size() / 2, names[static_cast<std::size_t>(probe) % names.size()]);
                std::string second = probe % 2 ? text(0, 12) : std::string();
                ASSERT_EQ(matcher.FirstMatch(first, second), FirstByName(names, first + second, ignoreCase))
                    << "line '" << first << "|" << second << "' ignoreCase " << ignoreCase;
            }
        }
    }
}

TEST(NameMatcher, HugeNameListStillMatchesCorrectly)
{
    // Many long names whose first bytes differ little.
    std::vector<std::string> names;
    for (int k = 0; k < 300; ++k) {
        std::string name(400, 'a');
        for (int i = 0; i < 400; ++i)
            name[static_cast<std::size_t>(i)] = static_cast<char>(1 + (k * 7 + i * 13) % 250);
        names.push_back(name);
    }
    TNameMatcher matcher(Views(names), true);
    EXPECT_EQ(matcher.FirstMatch("xx" + names[123] + names[200]), 123);
    EXPECT_EQ(matcher.FirstMatch(names[5].substr(1)), -1);
}

} // namespace
} // namespace velmora
