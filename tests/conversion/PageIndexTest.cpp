// The summary in a modern page's head and the index page built from the
// summaries of a folder's pages.
#include <gtest/gtest.h>

#include <string>

#include "conversion/UPageIndex.h"
#include "conversion/UPageSummary.h"
#include "settings/UHTMLOptions.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

using test::TempDir;

TPageSummary Summary(const std::string& dump, const std::string& date, std::uint64_t lines)
{
    TPageSummary summary;
    summary.DumpName = dump;
    summary.DumpDate = date;
    summary.Lines = lines;
    return summary;
}

TPlayerSummary Player(const std::string& name, std::uint64_t chat)
{
    TPlayerSummary player;
    player.Name = name;
    player.ChatLines = chat;
    return player;
}

// A page as the modern page writer will lay it out around the summary.
std::string PageWith(const TPageSummary& summary)
{
    return "<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n" +
           SummaryElement(summary) + "\r\n<title>t</title>\r\n</head>\r\n<body>\r\n</body>\r\n</html>\r\n";
}

TEST(PageSummaryTest, WrittenAndReadBack_WithAwkwardNamesAndStats)
{
    TPageSummary summary = Summary("chat </script> \"1\".txt", "2025-06-26T17:52:11", 890);
    summary.ChatLines = 31;
    summary.HasStats = true;
    TPlayerSummary bob = Player("B\\ob</script><!--", 12);
    bob.Kills = 7;
    bob.Deaths = 3;
    bob.Suicides = 1;
    bob.WeaponKills = {{"MOD_RAILGUN", 5}, {"MOD_ROCKET", 2}};
    summary.Players = {Player("\xC3\xA9ve\t", 0), bob}; // in the page's order, whatever their counts

    const std::string page = PageWith(summary);
    EXPECT_EQ(page.find("</script>"), page.find(SummaryElementStart) + SummaryElement(summary).size() - 9)
        << "the element ends where it should, not inside a name";
    TPageSummary read;
    ASSERT_TRUE(ParsePageSummary(page, read));
    EXPECT_EQ(read, summary);

    // Without stats only the chat lines of each player are kept.
    summary.HasStats = false;
    ASSERT_TRUE(ParsePageSummary(PageWith(summary), read));
    EXPECT_EQ(read.Players[1].Kills, 0u);
    EXPECT_TRUE(read.Players[1].WeaponKills.empty());
}

TEST(PageSummaryTest, NamesThatAreNotUtf8_AreWrittenAsWindows1252)
{
    TPageSummary summary = Summary("d\xE9j\xE0.txt", "2025-01-02T03:04:05", 1);
    summary.Players = {Player("u\xB6so", 1)};
    TPageSummary read;
    ASSERT_TRUE(ParsePageSummary(PageWith(summary), read));
    EXPECT_EQ(read.DumpName, "d\xC3\xA9j\xC3\xA0.txt");
    EXPECT_EQ(read.Players[0].Name, "u\xC2\xB6so");
}

TEST(PageSummaryTest, AnythingButAWellFormedSummary_IsRefusedAndLeavesTheResultAlone)
{
    const std::string good = R"({"generator":"Velmora","format":1,"dump":"a.txt","date":"2025-06-26T17:52:11",)"
                             R"("lines":3,"chatLines":1,"stats":false,"players":[{"name":"x","chat":1}]})";
    auto page = [](const std::string& json) {
        return std::string("<head>") + std::string(SummaryElementStart) + json + "</script></head>";
    };
    TPageSummary read;
    ASSERT_TRUE(ParsePageSummary(page(good), read));
    ASSERT_TRUE(ParsePageSummary(page(R"({"later":[{"key":null}],)" + good.substr(1)), read))
        << "keys of later versions are passed over";

    auto replaced = [&good](const std::string& from, const std::string& to) {
        std::string json = good;
        json.replace(json.find(from), from.size(), to);
        return json;
    };
    const std::string broken[] = {
        "",
        good.substr(0, good.size() - 1),
        good + "x",
        replaced("Velmora", "Other"),
        replaced("\"format\":1", "\"format\":2"),
        replaced("\"lines\":3", "\"lines\":-3"),
        replaced("\"lines\":3", "\"lines\":3.5"),
        replaced("\"lines\":3", "\"lines\":03"),
        replaced("\"lines\":3", "\"lines\":99999999999999999999"),
        replaced("\"lines\":3", "\"lines\":\"3\""),
        replaced("2025-06-26T17:52:11", "yesterday"),
        replaced(",\"chatLines\":1", ""),
        replaced("\"stats\":false", "\"stats\":true"), // then the counts must be there
        replaced("\"name\":\"x\"", "\"name\":\"\\ud800\""),
        replaced("\"name\":\"x\"", "\"name\":\"\xB6\""),
        replaced("\"name\":\"x\"", "\"name\":\"a\nb\""),
        replaced("\"name\":\"x\"", "\"name\":\"\\q\""),
        replaced("[{", "[[[[[[[[[[{"),
        replaced("[{\"name\":\"x\",\"chat\":1}]", "[1,]"),
    };
    for (const std::string& json : broken) {
        TPageSummary untouched = Summary("kept", "2000-01-01T00:00:00", 9);
        EXPECT_FALSE(ParsePageSummary(page(json), untouched)) << json;
        EXPECT_EQ(untouched, Summary("kept", "2000-01-01T00:00:00", 9)) << json;
    }
    EXPECT_FALSE(ParsePageSummary(page(good).substr(0, page(good).size() - 16), read)) << "no end of the element";
    EXPECT_FALSE(ParsePageSummary(std::string(MaxSummaryOffset, ' ') + page(good), read)) << "not in the head";
    EXPECT_FALSE(ParsePageSummary("<HTML><META name=\"author\" content=\"\">", read)) << "a classic page";
}

TEST(PageSummaryTest, AVeryLargeSummary_LeavesOutTheLeastActivePlayers)
{
    TPageSummary summary = Summary("big.txt", "2025-06-26T17:52:11", 1);
    for (int k = 0; k < 40000; ++k)
        summary.Players.push_back(Player("player number " + std::to_string(k), static_cast<std::uint64_t>(k)));
    const std::string element = SummaryElement(summary);
    EXPECT_LE(element.size(), MaxSummaryBytes);
    TPageSummary read;
    ASSERT_TRUE(ParsePageSummary(PageWith(summary), read));
    ASSERT_LT(read.Players.size(), summary.Players.size());
    EXPECT_GT(read.Players.front().ChatLines, 0u) << "the least active are left out";
    EXPECT_EQ(read.Players.back().Name, "player number 39999") << "the others keep their order";
}

TEST(PageSummaryTest, DatesAreLocalTimeInOneShape)
{
    const std::string date = SummaryDate(0);
    ASSERT_EQ(date.size(), 19u);
    EXPECT_TRUE(date.starts_with("1970-01-01T") || date.starts_with("1969-12-31T")) << date;
    TempDir dir;
    EXPECT_EQ(FileDate(dir.Write("a.txt", "x")).size(), 19u);
    EXPECT_EQ(FileDate(dir.File("missing.txt")), "");
}

// Writes a page of the folder as a run of the page writer would.
void WritePage(const TempDir& dir, const std::string& name, const TPageSummary& summary)
{
    dir.Write(name, PageWith(summary));
}

TEST(PageIndexTest, RebuiltOverTwoRuns_ListsEveryModernPageNewestFirst_AndLeavesOutOthers)
{
    TempDir dir;
    THTMLOptions html(nullptr);
    html.SetTitle("Clan <night>");
    dir.Write("foreign.htm", "<HTML><TITLE>Not ours</TITLE></HTML>");
    dir.Write("notes.txt", "not a page");

    TPageSummary june = Summary("june.txt", "2025-06-26T17:52:11", 890);
    june.ChatLines = 31;
    june.Players = {Player("keklover", 12), Player("ZOLTAN", 9), Player("Sokaries", 9), Player("wushy", 3),
                    Player("Nipos", 2), Player("m0rtician", 1), Player("quiet", 0)};
    WritePage(dir, "june.htm", june);
    ASSERT_TRUE(WriteIndexPage(dir.Path(), html));
    std::string index = TempDir::Read(dir.File(IndexPageName));
    EXPECT_NE(index.find("<title>Clan &lt;night&gt;</title>"), std::string::npos) << index;
    EXPECT_NE(index.find("<a href=\"june.htm\">june.txt</a>"), std::string::npos) << index;
    EXPECT_NE(index.find("<td>keklover (12), Sokaries (9), ZOLTAN (9), wushy (3), Nipos (2)</td>"),
              std::string::npos)
        << index;
    EXPECT_EQ(index.find("m0rtician"), std::string::npos);
    EXPECT_EQ(index.find("Not ours"), std::string::npos);

    // The second run adds two pages; the index is read back from all of them.
    WritePage(dir, "august day.htm", Summary("august day.txt", "2025-08-25T10:00:00", 1497));
    WritePage(dir, "early.htm", Summary("early.txt", "2025-06-01T09:00:00", 5));
    ASSERT_TRUE(WriteIndexPage(dir.Path(), html));
    index = TempDir::Read(dir.File(IndexPageName));
    const std::size_t august = index.find("<h2>August 2025</h2>");
    const std::size_t juneHeading = index.find("<h2>June 2025</h2>");
    const std::size_t augustRow = index.find("<a href=\"august%20day.htm\">august day.txt</a>");
    const std::size_t juneRow = index.find("<td>2025-06-26 17:52</td><td><a href=\"june.htm\">");
    const std::size_t earlyRow = index.find("<a href=\"early.htm\">");
    ASSERT_NE(august, std::string::npos) << index;
    ASSERT_NE(juneRow, std::string::npos) << index;
    EXPECT_LT(august, augustRow);
    EXPECT_LT(augustRow, juneHeading);
    EXPECT_LT(juneHeading, juneRow);
    EXPECT_LT(juneRow, earlyRow);
    EXPECT_EQ(index.find("<h2>June 2025</h2>", juneHeading + 1), std::string::npos) << "one heading per month";
    EXPECT_EQ(index.find("index.htm"), std::string::npos);
    EXPECT_EQ(ReadIndexEntries(dir.Path()).size(), 3u);
}

TEST(PageIndexTest, AFolderThatCannotBeRead_HasNoEntries)
{
    TempDir dir;
    EXPECT_TRUE(ReadIndexEntries(dir.File("missing")).empty());
    THTMLOptions html(nullptr);
    EXPECT_FALSE(WriteIndexPage(dir.File("missing"), html));
}

} // namespace
} // namespace velmora
