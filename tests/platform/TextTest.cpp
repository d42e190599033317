// Case-insensitive comparison of paths and names.
#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "platform/UText.h"

namespace velmora {
namespace {

class TextTest : public ::testing::Test {
protected:
    // Tests run in C.UTF-8 so that non-ASCII letters are decoded.
    void SetUp() override { std::setlocale(LC_ALL, "C.UTF-8"); }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

TEST_F(TextTest, EqualIgnoringCaseIncludingNonAsciiLetters)
{
    EXPECT_TRUE(SameTextLocale("/Dumps/CONDUMP.txt", "/dumps/condump.TXT"));
    EXPECT_TRUE(SameTextLocale("Ärger", "äRGER"));
    EXPECT_TRUE(SameTextLocale("", ""));
    EXPECT_FALSE(SameTextLocale("abc", "abd"));
    EXPECT_FALSE(SameTextLocale("abc", "abc "));
}

TEST_F(TextTest, OrderIsConsistentAndIgnoresCase)
{
    EXPECT_LT(CompareTextLocale("apple", "Banana"), 0);
    EXPECT_GT(CompareTextLocale("Banana", "apple"), 0);
    EXPECT_EQ(CompareTextLocale("APPLE", "apple"), 0);
}

TEST_F(TextTest, BytesTheLocaleCannotDecodeCompareAsciiFolded)
{
    std::string a = "u\xB6so";
    std::string b = "U\xB6SO";
    EXPECT_TRUE(SameTextLocale(a, b));
    EXPECT_FALSE(SameTextLocale(a, "u\xB7so"));
    EXPECT_EQ(CompareTextLocale(a, "u\xB7so"), -CompareTextLocale("u\xB7so", a));
}

TEST_F(TextTest, MixedDecodableAndUndecodableTextsAreOrderedConsistently)
{
    // Sorted insertion relies on a total order: antisymmetric and transitive.
    const std::vector<std::string> texts = {"abc", "ABD", "u\xB6so", "\xF2k", "zeta", "Ärger", "aerger",
                                            "", "b", "\xB6", "\xC3\xA4", "A\xB6"};
    for (const auto& a : texts)
        for (const auto& b : texts) {
            EXPECT_EQ(CompareTextLocale(a, b), -CompareTextLocale(b, a)) << a << " / " << b;
            for (const auto& c : texts) {
                if (CompareTextLocale(a, b) < 0 && CompareTextLocale(b, c) < 0) {
                    EXPECT_LT(CompareTextLocale(a, c), 0) << a << " < " << b << " < " << c;
                }
            }
        }
}

TEST(Utf8Test, WellFormedSequencesOnly)
{
    struct Case {
        const char* Text;
        bool Valid;
    };
    for (const Case& c : {Case{"", true}, Case{"plain ASCII, long enough for a word or two", true},
                          Case{"\xC3\xA9t\xC3\xA9 \xE5\x9B\x9B \xF0\x9F\x98\x80", true},
                          Case{"u\xB6so", false},              // a stray continuation byte
                          Case{"\xC3", false},                 // cut short at the end
                          Case{"ab\xE2\x82", false},          // cut short after eight bytes of ASCII too
                          Case{"\xC0\xAF", false},            // overlong
                          Case{"\xE0\x80\xAF", false},       // overlong
                          Case{"\xED\xA0\x80", false},       // a surrogate
                          Case{"\xF4\x90\x80\x80", false},  // above U+10FFFF
                          Case{"\xF8\x88\x80\x80\x80", false}}) {
        EXPECT_EQ(IsValidUtf8(c.Text), c.Valid) << c.Text;
    }
}

TEST(Utf8Test, TextThatIsNotUtf8_IsReadAsWindows1252)
{
    EXPECT_EQ(AsUtf8("\xC3\xA9t\xC3\xA9"), "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(AsUtf8("\xE9t\xE9 \x80\x99\x9F \x81"), "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC\xE2\x84\xA2\xC5\xB8 \xC2\x81");
}

TEST(AsciiUpper, OnlyLettersAToZChange)
{
    EXPECT_EQ(AsciiUpperCase("abz{}ä1_"), "ABZ{}ä1_");
}

TEST(WithLineEnds, EveryKindOfLineEndBecomesTheGivenOne)
{
    EXPECT_EQ(WithLineEnds("a\rb\r\nc\nd\r", "\n"), "a\nb\nc\nd\n");
    EXPECT_EQ(WithLineEnds("a\nb\r\nc\rd\n\re", "\r\n"), "a\r\nb\r\nc\r\nd\r\n\r\ne");
    EXPECT_EQ(WithLineEnds("", "\r\n"), "");
}

} // namespace
} // namespace velmora
