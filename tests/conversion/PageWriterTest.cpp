// Whole pages, byte for byte: header and footer, line endings of the dump,
// joining of broken lines, markup of names, progress and stopping.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "EngineSetup.h"

namespace velmora {
namespace {

using test::Page;
using test::TEngineSetup;
using test::TempDir;

// The eight header items of a page with the options' defaults; the page
// colours 0x400040, 0xFFFFFF, 0x00FFFF and 0xFF0000 read red first.
std::vector<std::string> DefaultHeader(const std::string& background = "")
{
    return {R"(<HTML><META name="author" content="">)",
            "<TITLE>Quake 3 Arena Console Dump</TITLE></HEAD>",
            R"(<BODY BGCOLOR="#400040")",
            R"(TEXT="#FFFFFF")",
            R"(LINK="#FFFF00")",
            R"(VLINK="#0000FF")",
            R"(BACKGROUND=")" + background + R"("><BR>)",
            "<BR>"};
}

std::string PageWithBody(const std::vector<std::string>& body, std::vector<std::string> header = DefaultHeader())
{
    std::vector<std::string> items = std::move(header);
    items.insert(items.end(), body.begin(), body.end());
    items.insert(items.end(), {"<BR>", "<!-- Created by Velmora -->", "</BODY> </HTML>"});
    return Page(items);
}

const std::string L76(76, 'x');
const std::string L77(77, 'y');
const std::string L100(100, 'z');

struct TLinesCase {
    const char* Name;
    std::string Dump;
    bool BrokenLines;
    std::vector<std::string> Body;
};

void PrintTo(const TLinesCase& c, std::ostream* os) { *os << c.Name; }

class PageLines : public ::testing::TestWithParam<TLinesCase> {};

TEST_P(PageLines, WritesEveryDumpLineAsOneItem)
{
    const TLinesCase& c = GetParam();
    TEngineSetup setup;
    setup.Html.FBrokenLines = c.BrokenLines;
    std::string page = setup.PageOf(c.Dump);
    EXPECT_TRUE(setup.Written);
    EXPECT_EQ(page, PageWithBody(c.Body));
}

INSTANTIATE_TEST_SUITE_P(
    Dumps, PageLines,
    ::testing::Values(
        TLinesCase{"Empty", "", true, {}},
        TLinesCase{"AllLineEndings", "a\r\nb\nc\rd", false, {"a<BR>", "b<BR>", "c<BR>", "d<BR>"}},
        TLinesCase{"LfThenCrAreTwoEndings", "a\n\rb\n", false, {"a<BR>", "<BR>", "b<BR>"}},
        TLinesCase{"EmptyLines", "\r\n\nx\n\n", false, {"<BR>", "<BR>", "x<BR>", "<BR>"}},
        TLinesCase{"NulEndsTheText", std::string("a\nb\0c\nd\n", 8), false, {"a<BR>", "b<BR>"}},
        TLinesCase{"MarkupAndBytesPassThrough", "<b>bold</b> & \x19(Biker^7\x19): \xb6\xc3\xa9\n", false,
                   {"<b>bold</b> & \x19(Biker^7\x19): \xb6\xc3\xa9<BR>"}},
        TLinesCase{"SeventySixIsNotJoined", L76 + "\nnext\n", true, {L76 + "<BR>", "next<BR>"}},
        TLinesCase{"SeventySevenSwallowsTheNextLine", L77 + "\nnext\nlast", true, {L77 + "next<BR>", "last<BR>"}},
        TLinesCase{"JoinedLineIsNotJoinedAgain", L77 + "\n" + L100 + "\n" + L100 + "\nend\n", true,
                   {L77 + L100 + "<BR>", L100 + "end<BR>"}},
        TLinesCase{"LongLastLineStaysWhole", "a\n" + L100, true, {"a<BR>", L100 + "<BR>"}},
        TLinesCase{"LongLineSwallowsAnEmptyLine", L77 + "\n\nb\n", true, {L77 + "<BR>", "b<BR>"}},
        TLinesCase{"NoJoiningWhenOff", L100 + "\n" + L100 + "\n", false, {L100 + "<BR>", L100 + "<BR>"}}),
    [](const ::testing::TestParamInfo<TLinesCase>& info) { return std::string(info.param.Name); });

TEST(PageWriter, HeaderAndFooterCarryTheOptions)
{
    TEngineSetup setup;
    setup.Html.FAuthor = "Doom & Keel";
    setup.Html.FTitle = "Finals";
    setup.Html.FBackColor = 0x0000FF;
    setup.Html.FTextColor = 0xFF8040;
    setup.Html.FLinkColor = 0x000000;
    setup.Html.FVisLinkColor = 0x123456;
    setup.Html.FBackImage = "/pics/back.jpg";
    setup.Html.FFrontPageHTML = "<H1>Top</H1>\r\nline two";
    setup.Html.FEndPageHTML = "<I>end</I>";
    std::string page = setup.PageOf("hi\n");
    EXPECT_EQ(page, Page({R"(<HTML><META name="author" content="Doom &amp; Keel">)",
                          "<TITLE>Finals</TITLE></HEAD>",
                          R"(<BODY BGCOLOR="#FF0000")",
                          R"(TEXT="#4080FF")",
                          R"(LINK="#000000")",
                          R"(VLINK="#563412")",
                          R"(BACKGROUND="back.jpg"><BR>)",
                          "<H1>Top</H1>\r\nline two<BR>",
                          "hi<BR>",
                          "<BR><I>end</I>",
                          "<!-- Created by Velmora -->",
                          "</BODY> </HTML>"}));
}

TEST(PageWriter, MissingSourceWritesNothing)
{
    TEngineSetup setup;
    setup.Html.FBackImage = setup.Dump("back.jpg", "JPEG");
    EXPECT_FALSE(setup.Engine.WritePage(setup.Dir.File("src/none.txt"), setup.Out("none.htm")));
    EXPECT_FALSE(std::filesystem::exists(setup.Out("none.htm")));
    EXPECT_FALSE(std::filesystem::exists(setup.Out("back.jpg"))) << "no image is copied for a missing dump";
}

TEST(PageWriter, PageIsNeverWrittenOverItsOwnDump)
{
    TEngineSetup setup;
    std::string dump = setup.Dir.Write("out/chat.htm", "keep me\n");
    EXPECT_FALSE(setup.Engine.WritePage(dump, dump));
    EXPECT_EQ(TempDir::Read(dump), "keep me\n");
}

TEST(PageWriter, FailedSaveReportsFailure)
{
    TEngineSetup setup;
    // A directory stands where the page should go, so the page cannot replace it.
    std::filesystem::create_directories(setup.Out("blocked.htm/inner"));
    EXPECT_FALSE(setup.Engine.WritePage(setup.Dump("a.txt", "x\n"), setup.Out("blocked.htm")));
    EXPECT_TRUE(std::filesystem::is_directory(setup.Out("blocked.htm/inner")));
    EXPECT_FALSE(setup.Engine.WritePage(setup.Dump("b.txt", "x\n"), setup.Dir.File("nowhere/b.htm")));
}

TEST(PageWriter, FileBarCountsLinesAndJoins)
{
    TEngineSetup setup;
    setup.Html.FBrokenLines = true;
    setup.FileBar.MaxValue = 5;
    setup.FileBar.PositionValue = 3;
    setup.PageOf(L77 + "\nb\nc\nd\n"); // 4 dump lines, one join
    EXPECT_TRUE(setup.Written);
    EXPECT_EQ(setup.FileBar.Max(), 8 + 4 - 1 - 1);
    EXPECT_EQ(setup.FileBar.Steps, 3);
    EXPECT_EQ(setup.FileBar.Position(), 0);
}

// Lines 0..n-1 named "line <k>".
std::string NumberedDump(int n)
{
    std::string dump;
    for (int k = 0; k < n; ++k)
        dump += "line " + std::to_string(k) + "\n";
    return dump;
}

TEST(PageWriter, PumpRunsAtEveryPacingPosition)
{
    TEngineSetup setup;
    setup.PageOf(NumberedDump(52)); // 60 page lines: every 20 lines, positions 20 and 40
    EXPECT_EQ(setup.PumpCalls, 2);

    TEngineSetup large;
    large.PageOf(NumberedDump(792)); // 800 page lines: every 40 lines, positions 40 to 760
    EXPECT_EQ(large.PumpCalls, 19);
}

TEST(PageWriter, StopDuringPageSavesRestAsRead)
{
    TEngineSetup setup;
    setup.AddName("line", 0x0000FF);
    setup.OnPump = [&](int) { setup.Engine.Stop(); };
    std::string page = setup.PageOf(NumberedDump(15));
    EXPECT_FALSE(setup.Written);
    // The pump at page position 20 (dump line 12) stops the run: that line
    // still gets "<BR>" but no markup; the lines after it stay as read.
    std::vector<std::string> body;
    const std::string prefix = "<FONT color=\"#FF0000\"> <BR>\r\n\r\n <BR> <img src=\"\">";
    const std::string suffix = "\r\n<BR>  </FONT>";
    for (int k = 0; k < 12; ++k)
        body.push_back(prefix + "line " + std::to_string(k) + suffix + "<BR>");
    body.push_back("line 12<BR>");
    body.push_back("line 13");
    body.push_back("line 14");
    EXPECT_EQ(page, PageWithBody(body));
    EXPECT_EQ(setup.FileBar.Steps, 13);
    EXPECT_EQ(setup.FileBar.Position(), 0);
}

TEST(PageWriter, StopWithEscapingOnStillEscapesTheRest)
{
    TEngineSetup setup;
    setup.App.FEscapeText = true;
    setup.OnPump = [&](int) { setup.Engine.Stop(); };
    std::string dump;
    for (int k = 0; k < 15; ++k)
        dump += "<b>" + std::to_string(k) + "\n";
    std::string page = setup.PageOf(dump);
    EXPECT_FALSE(setup.Written);
    EXPECT_EQ(page.find("<b>"), std::string::npos);
    EXPECT_NE(page.find("\r\n&lt;b&gt;14\r\n"), std::string::npos);
}

// Highlighting: a page of one or a few dump lines with names in the list.
class Highlighting : public ::testing::Test {
protected:
    TEngineSetup Setup;

    static std::string Marked(const std::string& colour, const std::string& icon, const std::string& line,
                              const std::string& before = "", const std::string& after = "")
    {
        return "<FONT color=\"" + colour + "\"> <BR>\r\n" + before + "\r\n <BR> <img src=\"" + icon + "\">" + line +
               "\r\n<BR> " + after + " </FONT><BR>";
    }
};

TEST_F(Highlighting, FirstListedNameWinsOverLeftmost)
{
    Setup.AddName("Bob", 0x0000FF);
    Setup.AddName("Ann", 0x00FF00);
    std::string page = Setup.PageOf("Ann: hi Bob\nAnn: alone\nnobody\n");
    EXPECT_EQ(page, PageWithBody({Marked("#FF0000", "", "Ann: hi Bob"), Marked("#00FF00", "", "Ann: alone"),
                                  "nobody<BR>"}));
}

TEST_F(Highlighting, NameInsideAWordMatches)
{
    Setup.AddName("rail", 0xFF0000);
    EXPECT_EQ(Setup.PageOf("was railed by\n"), PageWithBody({Marked("#0000FF", "", "was railed by")}));
}

TEST_F(Highlighting, CaseOptionSetIgnoresCase)
{
    Setup.AddName("KEEL", 0x00FFFF);
    Setup.App.FCaseSensitive = true;
    EXPECT_EQ(Setup.PageOf("keel: gg\n"), PageWithBody({Marked("#FFFF00", "", "keel: gg")}));
    Setup.App.FCaseSensitive = false;
    EXPECT_EQ(Setup.PageOf("keel: gg\n"), PageWithBody({"keel: gg<BR>"}));
}

TEST_F(Highlighting, CaseFoldingLeavesNonAsciiLettersAlone)
{
    Setup.AddName("\xc3\xa9T\xc3\xa9", 0x00FFFF); // "été" with a capital T
    Setup.App.FCaseSensitive = true;
    EXPECT_EQ(Setup.PageOf("\xc3\x89t\xc3\x89\n\xc3\xa9t\xc3\xa9\n"),
              PageWithBody({"\xc3\x89t\xc3\x89<BR>", Marked("#FFFF00", "", "\xc3\xa9t\xc3\xa9")}));
}

TEST_F(Highlighting, EmptyNameNeverMatches)
{
    Setup.AddName("", 0x0000FF);
    Setup.AddName("x", 0x00FF00);
    EXPECT_EQ(Setup.PageOf("x\n\n"), PageWithBody({Marked("#00FF00", "", "x"), "<BR>"}));
}

TEST_F(Highlighting, EntryWithoutIconHasEmptySourceAfterOneWithIcon)
{
    Setup.AddName("Bob", 0x0000FF, "/icons/bob.gif");
    Setup.AddName("Ann", 0x00FF00, "", "<B>", "</B>");
    EXPECT_EQ(Setup.PageOf("Ann: hi\nBob: yo\n"),
              PageWithBody({Marked("#00FF00", "", "Ann: hi", "<B>", "</B>"), Marked("#FF0000", "bob.gif", "Bob: yo")}));
}

TEST_F(Highlighting, EntryWithoutAttributesUsesDefaultTextColour)
{
    Setup.Names.push_back(TNameItem{"Ann", nullptr});
    DefaultTextColor = 0x336699;
    std::string page = Setup.PageOf("Ann: hi\n");
    RestoreBuiltInDefaults();
    EXPECT_EQ(page, PageWithBody({Marked("#996633", "", "Ann: hi")}));
}

TEST_F(Highlighting, JoinedLineIsMatchedAcrossTheJoin)
{
    Setup.Html.FBrokenLines = true;
    Setup.AddName("Keel:", 0x0000FF);
    std::string first = std::string(74, '-') + "Kee";
    EXPECT_EQ(Setup.PageOf(first + "\nl: hi\n"), PageWithBody({Marked("#FF0000", "", first + "l: hi")}));
}

TEST_F(Highlighting, AttributeValuesAreEscaped)
{
    // Paths and the author go between double quotes: as written, a quote in
    // them would end the value and let markup in, escaped dump text or not.
    Setup.App.FEscapeText = true;
    Setup.Html.FAuthor = R"(Ann "A" <ann@q3> & co)";
    Setup.Html.FBackImage = R"(/pics/x" onerror="alert(3).gif)";
    Setup.AddName("Ann", 0x0000FF, "/icons/\xc3\xa4 \"q\".gif");
    std::vector<std::string> header = DefaultHeader("x&quot; onerror=&quot;alert(3).gif");
    header[0] = R"(<HTML><META name="author" content="Ann &quot;A&quot; &lt;ann@q3&gt; &amp; co">)";
    EXPECT_EQ(Setup.PageOf("Ann: hi\n"),
              PageWithBody({Marked("#FF0000", "\xc3\xa4 &quot;q&quot;.gif", "Ann: hi")}, header));
}

TEST_F(Highlighting, HighlightLineMarksUpOrLeavesAlone)
{
    Setup.AddName("Ann", 0x0000FF, "/x/ann.png", "[", "]");
    std::string line = "Ann: hi";
    Setup.Engine.HighlightLine(line);
    EXPECT_EQ(line, "<FONT color=\"#FF0000\"> <BR>\r\n[\r\n <BR> <img src=\"ann.png\">Ann: hi\r\n<BR> ] </FONT>");
    std::string other = "Bob: hi";
    Setup.Engine.HighlightLine(other);
    EXPECT_EQ(other, "Bob: hi");
}

} // namespace
} // namespace velmora

namespace velmora {
namespace {

// Dump text options: escaped characters and colour codes, byte for byte.
struct TShownCase {
    const char* Name;
    bool Escape;
    TColorCodes Codes;
    std::string Dump;
    std::vector<std::string> Body;
};

void PrintTo(const TShownCase& c, std::ostream* os) { *os << c.Name; }

class ShownText : public ::testing::TestWithParam<TShownCase> {};

TEST_P(ShownText, WritesTheLinesAsShown)
{
    const TShownCase& c = GetParam();
    TEngineSetup setup;
    setup.App.FEscapeText = c.Escape;
    setup.App.FColorCodes = c.Codes;
    setup.Html.FTextColor = 0x102030; // "^7" takes this colour, #302010
    std::vector<std::string> header = DefaultHeader();
    header[3] = R"(TEXT="#302010")";
    EXPECT_EQ(setup.PageOf(c.Dump), PageWithBody(c.Body, header));
}

const std::string Red = R"(<FONT color="#FF0000">)";
const std::string Page7 = R"(<FONT color="#302010">)";

INSTANTIATE_TEST_SUITE_P(
    Options, ShownText,
    ::testing::Values(
        TShownCase{"EscapeOnly", true, TColorCodes::Keep, "<b>\"A&B\"</b> ^1x\n",
                   {"&lt;b&gt;&quot;A&amp;B&quot;&lt;/b&gt; ^1x<BR>"}},
        TShownCase{"RemoveCodes", false, TColorCodes::Remove, "^1Red^7: <i>hi\n^^1a ^ b^\nend^9\n",
                   {"Red: <i>hi<BR>", "^a ^ b^<BR>", "end<BR>"}},
        TShownCase{"ColourRuns", false, TColorCodes::Colors, "^1Red^7: hi\n^^1a^\nend^9\n^a^A^h\n",
                   {Red + "Red</FONT>" + Page7 + ": hi</FONT><BR>", "^" + Red + "a^</FONT><BR>",
                    "end" + Red + "</FONT><BR>",
                    Red + "</FONT>" + Red + "</FONT>" + R"(<FONT color="#000000"></FONT><BR>)"}},
        TShownCase{"BothOn", true, TColorCodes::Colors, "^3<b>&\n",
                   {R"(<FONT color="#FFFF00">&lt;b&gt;&amp;</FONT><BR>)"}}),
    [](const ::testing::TestParamInfo<TShownCase>& info) { return std::string(info.param.Name); });

TEST(ShownTextHighlighting, NamesMatchTheShownTextAndUserHtmlIsNeverEscaped)
{
    TEngineSetup setup;
    setup.Html.FFrontPageHTML = "<H1>Top & more</H1>";
    setup.Html.FEndPageHTML = "<I>\"end\"</I>";
    setup.AddName("Biker:", 0x0000FF, "", "<B>", "</B>");
    setup.App.FEscapeText = true;
    const std::string dump = "^1Bi^2ker^7: <3\n";
    const std::string marked = "<FONT color=\"#FF0000\"> <BR>\r\n<B>\r\n <BR> <img src=\"\">";
    const std::string after = "\r\n<BR> </B> </FONT><BR>";
    std::vector<std::string> header = DefaultHeader();
    header[7] = "<H1>Top & more</H1><BR>";
    auto page = [&](const std::vector<std::string>& body) {
        std::vector<std::string> items = header;
        items.insert(items.end(), body.begin(), body.end());
        items.insert(items.end(), {"<BR><I>\"end\"</I>", "<!-- Created by Velmora -->", "</BODY> </HTML>"});
        return test::Page(items);
    };

    setup.App.FColorCodes = TColorCodes::Keep; // the codes split the name: no match
    EXPECT_EQ(setup.PageOf(dump), page({"^1Bi^2ker^7: &lt;3<BR>"}));
    setup.App.FColorCodes = TColorCodes::Remove;
    EXPECT_EQ(setup.PageOf(dump), page({marked + "Biker: &lt;3" + after}));
    // Shown as colours, the codes would hide the name's colour: the highlighted line loses them.
    setup.App.FColorCodes = TColorCodes::Colors;
    EXPECT_EQ(setup.PageOf(dump), page({marked + "Biker: &lt;3" + after}));
    EXPECT_EQ(setup.PageOf("^1Bi^2ker\n"), page({Red + "Bi</FONT><FONT color=\"#00FF00\">ker</FONT><BR>"}));
}

TEST(ShownTextHighlighting, JoiningCountsTheCharactersAsStored)
{
    // 77 stored characters, 71 once the codes are gone: still joined.
    TEngineSetup setup;
    setup.Html.FBrokenLines = true;
    setup.App.FColorCodes = TColorCodes::Remove;
    const std::string broken = "^1^2^3" + std::string(71, 'x');
    EXPECT_EQ(setup.PageOf(broken + "\n^4next\nlast\n"), PageWithBody({std::string(71, 'x') + "next<BR>", "last<BR>"}));
}

} // namespace
} // namespace velmora
