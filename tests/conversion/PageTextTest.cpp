// The text of modern pages: UTF-8 from any dump line, control characters
// left out, escaping, colour codes in three ways, and colours kept readable.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "conversion/UContrast.h"
#include "conversion/UConvertClass.h"
#include "conversion/UPageText.h"
#include "conversion/UShownText.h"

namespace velmora {
namespace {

std::string Shown(TColorCodes codes, std::string_view line, TColor back = 0x400040)
{
    TPageText text(codes, back);
    std::string out;
    text.Append(out, line);
    return out;
}

std::string Visible(TColorCodes codes, std::string_view line)
{
    TPageText text(codes, 0x400040);
    std::string out;
    text.AppendVisible(out, line);
    return out;
}

TEST(PageTextTest, Utf8LinesStay_OtherLinesAreReadAsWindows1252)
{
    EXPECT_EQ(Shown(TColorCodes::Keep, "teo\xE5\x9B\x9B \\( \xE2\x80\xA2\xE1\xB4\x97\xE2\x80\xA2)/"),
              "teo\xE5\x9B\x9B \\( \xE2\x80\xA2\xE1\xB4\x97\xE2\x80\xA2)/");
    // 0xB6 and 0x80 of a Windows player name; one stray byte makes the whole line 1252.
    EXPECT_EQ(Shown(TColorCodes::Keep, "u\xB6o \x80 \xC3\xA9"), "u\xC2\xB6o \xE2\x82\xAC \xC3\x83\xC2\xA9");
    // A stray byte after markup and runs, which are then written once only.
    EXPECT_EQ(Shown(TColorCodes::Colors, "<^1a>\xB6"), "&lt;<span class=\"c1\">a&gt;\xC2\xB6</span>");
}

TEST(PageTextTest, ControlCharactersButTabAreLeftOut_AndMarkupIsEscaped)
{
    EXPECT_EQ(Shown(TColorCodes::Keep, "\x19(Biker^7\x19)\x19:\tI'm <b>&\"lead\"\x7F\x01"),
              "(Biker^7):\tI'm &lt;b&gt;&amp;&quot;lead&quot;");
    // C1 controls, in UTF-8 and as the unassigned bytes of Windows-1252.
    EXPECT_EQ(Shown(TColorCodes::Keep, "a\xC2\x85" "b\xC2\xA0"), "ab\xC2\xA0");
    EXPECT_EQ(Shown(TColorCodes::Keep, "a\x81" "b\xFF"), "ab\xC3\xBF");
    // Each such byte is found wherever it stands in a long line.
    const std::string plain(40, 'x');
    const std::pair<char, std::string_view> changed[] = {
        {'<', "&lt;"}, {'>', "&gt;"}, {'&', "&amp;"}, {'"', "&quot;"}, {'\x01', ""}, {'\x7F', ""}};
    for (const auto& [byte, shown] : changed)
        for (std::size_t at = 0; at < 34; ++at) {
            std::string line = plain;
            line[at] = byte;
            EXPECT_EQ(Shown(TColorCodes::Keep, line), plain.substr(0, at) + std::string(shown) + plain.substr(at + 1))
                << "byte " << int(byte) << " at " << at;
        }
}

TEST(PageTextTest, ColourCodes_KeptRemovedOrShownAsRuns)
{
    const std::string line = "^1Red^2^3Yellow ^xeeff55hex^7 plain ^ ^^";
    EXPECT_EQ(Shown(TColorCodes::Keep, line), line);
    EXPECT_EQ(Shown(TColorCodes::Remove, line), "RedYellow hex plain ^ ^^");
    // No empty run for "^2", "^7" back to the page's colour, a "^x" code by its own colour.
    EXPECT_EQ(Shown(TColorCodes::Colors, line),
              "<span class=\"c1\">Red</span><span class=\"c3\">Yellow </span>"
              "<span style=\"color:#EEFF55\">hex</span> plain ^ ^^");
    EXPECT_EQ(Shown(TColorCodes::Colors, "a^4b"), "a<span class=\"c4\">b</span>");
    EXPECT_EQ(Visible(TColorCodes::Colors, "^1<Red> ^xeeff55\x01x"), "<Red> x");
    EXPECT_EQ(Visible(TColorCodes::Keep, "^1Red"), "^1Red");
}

TEST(PageTextTest, ClassicPagesKeepReadingHexCodesAsTwoBytes)
{
    const TShownText classic(false, TColorCodes::Remove, 0xFFFFFF);
    std::string out;
    classic.Append(out, "^xeeff55a");
    EXPECT_EQ(out, "eeff55a");
}

TEST(PageTextTest, RunColoursAndHexColours_KeepTheirContrastWithTheBackground)
{
    for (TColor back : {TColor(0x400040), TColor(0xFFFFFF), TColor(0x000000)}) {
        TPageText text(TColorCodes::Colors, back);
        const std::string rules = text.ColorClassRules();
        for (int k = 0; k < WhiteCodeIndex; ++k) {
            const std::string rule = ".c" + std::to_string(k) + "{color:#";
            const std::size_t at = rules.find(rule);
            ASSERT_NE(at, std::string::npos) << rules;
            const auto rgb = static_cast<TColor>(std::stoul(rules.substr(at + rule.size(), 6), nullptr, 16));
            const TColor color = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
            EXPECT_GE(ContrastRatio(color, back), MinimumContrast) << rules;
        }
    }
    // A dark "^x" colour on the default dark page is lightened.
    EXPECT_EQ(Shown(TColorCodes::Colors, "^x000080x"),
              "<span style=\"color:" + ColorToHTML(ReadableColor(0x800000, 0x400040)) + "\">x</span>");
}

TEST(ContrastTest, LuminanceAndRatio_FollowTheFormula)
{
    EXPECT_DOUBLE_EQ(RelativeLuminance(0x000000), 0.0);
    EXPECT_DOUBLE_EQ(RelativeLuminance(0xFFFFFF), 1.0);
    EXPECT_NEAR(ContrastRatio(0xFFFFFF, 0x000000), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(0x767676, 0xFFFFFF), 4.54, 0.01); // the usual example of a grey just passing
    EXPECT_DOUBLE_EQ(ContrastRatio(0x123456, 0x654321), ContrastRatio(0x654321, 0x123456));
}

TEST(ContrastTest, DefaultPageColours_OnlyTheVisitedLinkBlueIsLightened)
{
    const TColor back = BuiltInBackColor;
    EXPECT_EQ(ReadableColor(BuiltInTextColor, back), BuiltInTextColor);
    EXPECT_EQ(ReadableColor(BuiltInLinkColor, back), BuiltInLinkColor);
    const TColor visited = ReadableColor(BuiltInVisitedLinkColor, back);
    EXPECT_NE(visited, BuiltInVisitedLinkColor);
    EXPECT_GE(ContrastRatio(visited, back), MinimumContrast);
    EXPECT_LT(ContrastRatio(visited, back), MinimumContrast + 0.3) << "no lighter than it needs to be";
    EXPECT_EQ((visited >> 16) & 0xFF, 0xFF) << "still a blue";
    // The background on itself becomes a light colour that can be read.
    EXPECT_GE(ContrastRatio(ReadableColor(back, back), back), MinimumContrast);
}

TEST(ContrastTest, OnWhite_YellowAndGreenAreDarkened_BlueStays)
{
    const TColor white = 0xFFFFFF;
    for (TColor light : {TColor(0x00FFFF), TColor(0x00FF00), TColor(0xFFFF00)}) {
        const TColor dark = ReadableColor(light, white);
        EXPECT_GE(ContrastRatio(dark, white), MinimumContrast) << std::hex << light;
        EXPECT_LT(RelativeLuminance(dark), RelativeLuminance(light)) << std::hex << light;
    }
    EXPECT_EQ(ReadableColor(0xFF0000, white), 0xFF0000);
}

TEST(PageTextTest, ProfileTexts_AreUtf8AndEscaped)
{
    EXPECT_EQ(PageEscaped("Clan night \xE9t\xE9 <b>&\""), "Clan night \xC3\xA9t\xC3\xA9 &lt;b&gt;&amp;&quot;");
    EXPECT_EQ(PageEscaped("\xC3\xA9"), "\xC3\xA9");
}

} // namespace
} // namespace velmora
