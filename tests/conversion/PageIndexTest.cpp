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
    bob.Words = 40;
    bob.FirstLine = 17;
    bob.EarlierNames = {"Bobby", "<b>"};
    bob.MostKilled = "\xC3\xA9ve\t";
    bob.MostKilledTimes = 4;
    bob.MostKilledBy = "x";
    bob.MostKilledByTimes = 1;
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
    EXPECT_TRUE(read.Players[1].EarlierNames.empty());
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
    auto withStats = [&replaced](const std::string& more) {
        std::string json = replaced("\"stats\":false", "\"stats\":true");
        const std::string player = "\"chat\":1";
        return json.replace(json.find(player), player.size(),
                            player + ",\"kills\":0,\"deaths\":0,\"suicides\":0,\"weapons\":{}" + more);
    };
    ASSERT_TRUE(ParsePageSummary(page(withStats("")), read)) << "the counts after weapons may be missing";
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
        // With stats, counts that may be missing must not be wrong.
        withStats(",\"words\":-1"),
        withStats(",\"earlierNames\":\"x\""),
        withStats(",\"earlierNames\":[1]"),
        withStats(",\"mostKilled\":2"),
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

TEST(PageSummaryTest, ASummaryOfAGivenSize_IsPaddedOrLeavesOutTheLeastActive)
{
    TPageSummary summary = Summary("a.txt", "2025-06-26T17:52:11", 1);
    for (int k = 0; k < 200; ++k)
        summary.Players.push_back(Player("player number " + std::to_string(k), static_cast<std::uint64_t>(k)));
    for (std::size_t size : {std::size_t{MinSummaryElement}, SummaryElement(summary).size() + 100}) {
        const std::string element = SummaryElement(summary, size);
        EXPECT_EQ(element.size(), size);
        TPageSummary read;
        ASSERT_TRUE(ParsePageSummary(element, read));
        EXPECT_EQ(read.Players.back().Name, "player number 199");
        EXPECT_EQ(read.Players.size() < summary.Players.size(), size == MinSummaryElement);
    }
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

TEST(PageIndexTest, Players_SummedOverThePagesWithStats_LinkedToTheirFirstLineOnTheOldestPage)
{
    TempDir dir;
    THTMLOptions html(nullptr);
    auto player = [](const std::string& name, std::uint64_t chat, std::uint64_t kills, std::uint64_t line) {
        TPlayerSummary p = Player(name, chat);
        p.Kills = kills;
        p.Deaths = 1;
        p.Words = chat * 2;
        p.FirstLine = line;
        p.WeaponKills = {{"MOD_RAILGUN", kills}};
        return p;
    };
    TPageSummary older = Summary("old night.txt", "2025-06-01T20:00:00", 100);
    older.HasStats = true;
    older.Players = {player("Sarge", 5, 2, 0), player("Doom", 1, 7, 30)};
    TPageSummary newer = Summary("new.txt", "2025-06-02T20:00:00", 100);
    newer.HasStats = true;
    newer.Players = {player("Sarge", 4, 1, 12), player("Doom", 9, 0, 3)};
    TPageSummary plain = Summary("plain.txt", "2025-06-03T20:00:00", 100);
    plain.Players = {Player("Sarge", 50)};
    WritePage(dir, "old night.htm", older);
    WritePage(dir, "new.htm", newer);
    WritePage(dir, "plain.htm", plain);
    ASSERT_TRUE(WriteIndexPage(dir.Path(), html));
    const std::string index = TempDir::Read(dir.File(IndexPageName));
    const std::size_t section = index.find("<section class=\"players\" id=\"players\">");
    ASSERT_NE(section, std::string::npos) << index;
    EXPECT_NE(index.find("<p>Summed over the 2 pages with player stats.</p>", section), std::string::npos) << index;
    const std::size_t doom = index.find("<tr><td><a href=\"old%20night.htm#L30\">Doom</a></td><td class=\"n\">10</td>"
                                        "<td class=\"n\">20</td><td class=\"n\">7</td><td class=\"n\">2</td>"
                                        "<td class=\"n\">0</td><td>Railgun</td></tr>",
                                        section);
    const std::size_t sarge = index.find("<tr><td><a href=\"new.htm#L12\">Sarge</a></td><td class=\"n\">9</td>",
                                         section);
    EXPECT_NE(doom, std::string::npos) << index;
    EXPECT_NE(sarge, std::string::npos) << "the older page has no line of Sarge's: " << index;
    EXPECT_LT(doom, sarge) << "most chat lines first";

    WritePage(dir, "new.htm", plain);
    WritePage(dir, "old night.htm", plain);
    ASSERT_TRUE(WriteIndexPage(dir.Path(), html));
    EXPECT_EQ(TempDir::Read(dir.File(IndexPageName)).find("id=\"players\""), std::string::npos)
        << "no section without pages with stats";
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
