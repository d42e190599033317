// The modern page as a reader and the index see it: its head and header, one
// element per kept line under the dump's own line numbers, highlighted
// lines, and the index page rebuilt from the pages in the folder.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "EngineSetup.h"
#include "conversion/UPageIndex.h"
#include "conversion/UPageSummary.h"

namespace velmora {
namespace {

using test::TEngineSetup;
using test::TempDir;

struct TLineElement {
    std::string Id;
    std::string Attributes; // what follows the id: the class, and a style on a highlighted line
    std::string Content;    // after the self-link
};

// The line elements of a page, each checked to link to itself.
std::vector<TLineElement> LineElements(const std::string& page)
{
    static const std::regex element(R"re(<div id="L(\d+)"([^>]*)><a href="#L(\d+)"></a>(.*)</div>\r\n)re");
    std::vector<TLineElement> lines;
    for (std::sregex_iterator it(page.begin(), page.end(), element), end; it != end; ++it) {
        EXPECT_EQ((*it)[1], (*it)[3]) << "a self-link to another line";
        lines.push_back({(*it)[1], (*it)[2], (*it)[4]});
    }
    return lines;
}

std::vector<std::string> Ids(const std::string& page)
{
    std::vector<std::string> ids;
    for (const TLineElement& line : LineElements(page))
        ids.push_back(line.Id);
    return ids;
}

struct TModernSetup : TEngineSetup {
    TModernSetup() { App.SetPageStyle(TPageStyle::Modern); }
};

TEST(ModernPage, SmallDumpHasItsHeadHeaderLinesAndFooter)
{
    TModernSetup setup;
    setup.Html.FTitle = "Cup <final>";
    setup.Html.FAuthor = "Dj \xe9"; // the profile's code page: Windows-1252 here
    setup.App.FColorCodes = TColorCodes::Colors;
    const std::string page = setup.PageOf("Biker^7: hi ^1<all>\n"
                                          "\tscore  12\x01\n"
                                          "Biker was railed by Sarge\n"
                                          "Sarge^7: gg\xb6\n");
    ASSERT_TRUE(setup.Written);

    EXPECT_EQ(page.rfind("<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
                         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n"
                         "<meta name=\"generator\" content=\"Velmora " VELMORA_VERSION "\">\r\n",
                         0),
              0u);
    for (const char* part : {"<meta name=\"author\" content=\"Dj \xc3\xa9\">", "<title>Cup &lt;final&gt;</title>",
                             "<h1>Cup &lt;final&gt;</h1>", "<p>Dj \xc3\xa9</p>", "--back:#400040",
                             "white-space:pre-wrap", "overflow-wrap:anywhere", "monospace",
                             " · 4 lines · <span>2</span> chat lines</p>",
                             "</main>\r\n\r\n<footer>\r\n<!-- Created by Velmora -->\r\n</footer>\r\n</body>\r\n</html>\r\n"})
        EXPECT_NE(page.find(part), std::string::npos) << part;
    EXPECT_EQ(page.find("url("), std::string::npos) << "no background image is set";
    EXPECT_EQ(page.find("index.htm"), std::string::npos) << "no index is written";
    EXPECT_LT(page.find(SummaryElementStart), page.find("<title>"));

    TPageSummary summary;
    ASSERT_TRUE(ParsePageSummary(page, summary));
    EXPECT_EQ(summary.DumpName, "dump.txt");
    EXPECT_EQ(summary.DumpDate, FileDate(setup.Dir.File("src/dump.txt")));
    EXPECT_EQ(summary.Lines, 4u);
    EXPECT_EQ(summary.ChatLines, 2u);
    ASSERT_EQ(summary.Players.size(), 2u);
    EXPECT_EQ(summary.Players[0].Name, "Biker");
    EXPECT_EQ(summary.Players[1].ChatLines, 1u);

    auto lines = LineElements(page);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].Attributes, R"( class="chat")");
    EXPECT_EQ(lines[0].Content, "Biker: hi <span class=\"c1\">&lt;all&gt;</span>");
    EXPECT_EQ(lines[1].Attributes, R"( class="other")");
    EXPECT_EQ(lines[1].Content, "\tscore  12");
    EXPECT_EQ(lines[2].Attributes, R"( class="kill")");
    EXPECT_EQ(lines[3].Content, "Sarge: gg\xc2\xb6");

    // A background image, a link to the index, the profile's front and end HTML as written.
    setup.Html.SetBackImage("/pics/bg \"1\".png");
    setup.App.SetWriteIndex(true);
    setup.Html.FFrontPageHTML = "<p>front</p>";
    setup.Html.FEndPageHTML = "<p>end</p>";
    const std::string decorated = setup.PageOf("x\n");
    for (const char* part : {R"(background:var(--back) url(")", R"(bg \"1\".png"))", R"(<a href="index.htm">Index</a>)",
                             "</header>\r\n<p>front</p>\r\n<main>", "</main>\r\n<p>end</p>\r\n<footer>"})
        EXPECT_NE(decorated.find(part), std::string::npos) << part;
}

TEST(ModernPage, IdsKeepTheDumpsNumberingWhateverIsKept)
{
    TModernSetup setup;
    setup.Html.FBrokenLines = true;
    const std::string broken(77, 'b');
    // Line 3 is broken and takes in line 4. Fragger's first chat line is
    // chat only because an event left out of the page named him before.
    const std::string dump = "loading map\n"
                             "Fragger entered the game\n" +
                             broken + "\n" + "rest\n" +
                             "Fragger: hi\n"
                             "Fragger was railed by Biker\n";
    const std::vector<std::pair<TKeepLines, std::vector<std::string>>> cases = {
        {TKeepLines::All, {"1", "2", "3", "5", "6"}},
        {TKeepLines::Events, {"2", "5", "6"}},
        {TKeepLines::Chat, {"5"}},
    };
    for (const auto& [keep, ids] : cases) {
        setup.App.SetKeepLines(keep);
        const std::string page = setup.PageOf(dump);
        EXPECT_EQ(Ids(page), ids) << static_cast<int>(keep);
        TPageSummary summary;
        ASSERT_TRUE(ParsePageSummary(page, summary));
        EXPECT_EQ(summary.Lines, 6u);
        EXPECT_EQ(summary.ChatLines, 1u) << "every line is counted, kept or not";
    }
}

TEST(ModernPage, HighlightedLineTakesTheNamesColourWithoutCodesOrPadding)
{
    TModernSetup setup;
    setup.App.FColorCodes = TColorCodes::Colors;
    // Red on the dark page is lightened for the text, not for the bar.
    setup.AddName("Biker", 0x0000FF, "/icons/star.png", "<b>", "</b> &");
    setup.AddName("Sarge", 0x010101); // near black on the dark page: its text colour is lightened
    const auto lines = LineElements(setup.PageOf("^1Bi^2ker^7: <hi>\nSa^3rge^7: yo\nnobody\n"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].Attributes, R"( class="chat hl" style="--hl:#FF3636;--bar:#FF0000")");
    EXPECT_EQ(lines[0].Content, R"(<b><img src="star.png" alt="">Biker: &lt;hi&gt;</b> &)");
    EXPECT_NE(lines[1].Attributes.find("--bar:#010101"), std::string::npos);
    EXPECT_EQ(lines[1].Attributes.find("--hl:#010101"), std::string::npos);
    EXPECT_EQ(lines[1].Content, "Sarge: yo") << "no icon when none is set";
    EXPECT_EQ(lines[2].Attributes, R"( class="other")");
}

// The page of one dump file (its date is in the page) written in blocks of blockSize.
std::string PageInBlocks(TEngineSetup& setup, const std::string& dumpPath, std::size_t blockSize)
{
    setup.Engine.SetBlockSize(blockSize);
    EXPECT_TRUE(setup.Engine.WritePage(dumpPath, setup.Out("page.htm")));
    return TempDir::Read(setup.Out("page.htm"));
}

TEST(ModernPage, LinesLongerThanAPageBlockGiveTheSamePage)
{
    TModernSetup setup;
    setup.App.FColorCodes = TColorCodes::Colors;
    setup.AddName("Biker", 0x0000FF, "", "<b>", "</b>");
    const std::string dump = setup.Dump("dump.txt", "^1Bi^2ker^7: <hi> &\nnobody \xE9 ^x12AB34x\n");
    const std::string whole = PageInBlocks(setup, dump, 1 << 20);
    EXPECT_EQ(PageInBlocks(setup, dump, 16), whole); // every element longer than a block
}

// The summary's room grows with the dump's text, never with how much of the
// file had been read when the page began.
TEST(ModernPage, PageDoesNotDependOnTheReadingBlocks)
{
    std::string dump;
    while (dump.size() < 400 * 1024)
        dump += "Biker^7: a line of chat that is long enough\n";
    dump[300 * 1024] = '\0'; // the text ends here; a dump read whole holds what follows too
    TModernSetup setup;
    const std::string path = setup.Dump("dump.txt", dump);
    const std::string whole = PageInBlocks(setup, path, 1 << 20);
    for (std::size_t blockSize : {1000, 4096, 65536})
        EXPECT_EQ(PageInBlocks(setup, path, blockSize), whole) << "block size " << blockSize;
}

TEST(ModernPage, PlayerStatsFollowTheLinesAndGoIntoTheSummary)
{
    TModernSetup setup;
    const std::string dump = "Biker^7: hi all\n"
                             "Sarge was railed by Biker\n"
                             "Biker was railed by Sarge\n"
                             "Biker^7: gg\n";
    EXPECT_EQ(setup.PageOf(dump).find("Players"), std::string::npos) << "only with the stats option";

    setup.App.SetPlayerStats(true);
    setup.App.SetKeepLines(TKeepLines::Chat);
    const std::string page = setup.PageOf(dump);
    const std::size_t section = page.find("Players</h2>");
    ASSERT_NE(section, std::string::npos);
    EXPECT_GT(section, page.find("</main>"));
    EXPECT_LT(section, page.find("<footer>"));
    EXPECT_NE(page.find(R"(<a href="#L1">Biker</a>)", section), std::string::npos) << page.substr(section);
    EXPECT_EQ(page.find(R"(href="#L2")", section), std::string::npos) << "Sarge's first line is left out";

    TPageSummary summary;
    ASSERT_TRUE(ParsePageSummary(page, summary));
    EXPECT_TRUE(summary.HasStats);
    ASSERT_EQ(summary.Players.size(), 2u);
    EXPECT_EQ(summary.Players[0].Name, "Biker");
    EXPECT_EQ(summary.Players[0].ChatLines, 2u);
    EXPECT_EQ(summary.Players[0].Kills, 1u);
    EXPECT_EQ(summary.Players[1].Deaths, 1u);
    EXPECT_EQ(summary.Players[1].FirstLine, 0u);
}

TEST(ModernPage, IndexIsRebuiltOverTwoRunsFromTheModernPagesInTheFolder)
{
    TModernSetup setup;
    setup.App.SetWriteIndex(true);
    setup.Dir.Write("out/foreign.htm", "<html><body>someone else's page</body></html>");
    setup.List({setup.Dump("first.txt", "Biker^7: one\n")});
    std::string message;
    ASSERT_TRUE(setup.Engine.Convert(message)) << message;

    setup.IO.FFiles.clear();
    setup.List({setup.Dump("second.txt", "Sarge^7: two\nSarge^7: three\n"), setup.Dump("index.txt", "x\n")});
    EXPECT_FALSE(setup.Engine.Convert(message));
    EXPECT_EQ(setup.IO.FFiles[0].Status->Status, StatusCode::WriteError) << "index.txt would be index.htm";
    EXPECT_EQ(setup.IO.FFiles[1].Status->Status, StatusCode::Converted);

    const std::string index = TempDir::Read(setup.Out("index.htm"));
    EXPECT_NE(index.find(R"(href="first.htm")"), std::string::npos) << index;
    EXPECT_NE(index.find(R"(href="second.htm")"), std::string::npos);
    EXPECT_NE(index.find("Sarge (2)"), std::string::npos);
    EXPECT_EQ(index.find("foreign"), std::string::npos);
    EXPECT_EQ(ReadIndexEntries(setup.Out("")).size(), 2u);

    // Without the index option a dump may still be called index.
    setup.App.SetWriteIndex(false);
    setup.IO.SetSkipExisting(false);
    setup.IO.SetPromptOnOverwrite(false);
    setup.IO.FFiles.clear();
    setup.List({setup.Dir.File("src/index.txt")});
    ASSERT_TRUE(setup.Engine.Convert(message)) << message;
    EXPECT_EQ(setup.IO.FFiles[0].Status->Status, StatusCode::Overwritten);
}

} // namespace
} // namespace velmora
