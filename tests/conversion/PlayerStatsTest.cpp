// Player stats: what each line kind counts for whom, renames, names with
// codes and colons, and the "Players" section. A real server log is counted
// against its own Kill lines with velmora-cli stats (CliEndToEndTest).
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "conversion/ULineKinds.h"
#include "conversion/UPlayerStats.h"
#include "conversion/UPlayersSection.h"
#include "platform/UText.h"

namespace velmora {
namespace {

// Counts the lines, numbered from 1, as a page would.
std::vector<TPlayerSummary> Count(const std::vector<std::string>& lines, TPlayerAliases aliases = {})
{
    TLineClassifier classifier;
    TPlayerStats stats(std::move(aliases));
    for (std::size_t k = 0; k < lines.size(); ++k)
        stats.Add(classifier.Classify(lines[k]), k + 1);
    return stats.Players();
}

std::map<std::string, TPlayerSummary> ByName(const std::vector<TPlayerSummary>& players)
{
    std::map<std::string, TPlayerSummary> byName;
    for (const TPlayerSummary& player : players)
        byName[player.Name] = player;
    return byName;
}

std::uint64_t TotalKills(const std::vector<TPlayerSummary>& players)
{
    std::uint64_t kills = 0;
    for (const TPlayerSummary& player : players)
        kills += player.Kills;
    return kills;
}

TEST(PlayerStatsTest, EveryObituaryForm_CountsForItsWeapon_SelfKillsAsSuicides_WorldKillsAsDeathsOnly)
{
    for (const TLineRule& rule : LineRules()) {
        if (rule.Kind != TLineKind::Kill || rule.Form == TLineForm::ServerKill)
            continue;
        TLineClassifier classifier;
        const TLineFacts facts = classifier.Classify(rule.Example);
        TPlayerStats stats;
        stats.Add(facts, 1);
        const std::vector<TPlayerSummary> players = stats.Players();
        // Names come out in UTF-8 (one example's is Windows-1252).
        auto victim = ByName(players)[AsUtf8(PlayerName(facts.Victim))];
        EXPECT_EQ(victim.Deaths, 1u) << rule.Example;
        if (rule.Form == TLineForm::KilledBy) {
            ASSERT_EQ(players.size(), 2u) << rule.Example;
            const TPlayerSummary killer = ByName(players)[AsUtf8(PlayerName(facts.Killer))];
            EXPECT_EQ(killer.Kills, 1u) << rule.Example;
            EXPECT_EQ(TopWeapon(killer), WeaponName(rule.Means)) << rule.Example;
            EXPECT_EQ(killer.MostKilled, victim.Name) << rule.Example;
            EXPECT_EQ(victim.MostKilledBy, killer.Name) << rule.Example;
        } else {
            ASSERT_EQ(players.size(), 1u) << rule.Example;
            EXPECT_EQ(TotalKills(players), 0u) << rule.Example;
            EXPECT_EQ(victim.Suicides, rule.Form == TLineForm::KilledSelf ? 1u : 0u) << rule.Example;
        }
    }
}

TEST(PlayerStatsTest, ServerKills_WorldIsNobody_SelfKillIsASuicide_WeaponsAndRivalsTallied)
{
    const auto players = ByName(Count({
        "  0:41 Kill: 0 3 10: Visor killed Grunt by MOD_RAILGUN",
        "  0:42 Kill: 0 3 6: Visor killed Grunt by MOD_ROCKET",
        "  0:43 Kill: 0 3 7: Visor killed Grunt by MOD_ROCKET_SPLASH",
        "  0:44 Kill: 0 2 10: Visor killed Daemia by MOD_RAILGUN",
        "  0:44 Kill: 0 2 6: Visor killed Daemia by MOD_ROCKET",
        "  0:45 Kill: 3 0 31: Grunt killed Visor by MOD_HOOK",
        "  0:51 Kill: 1022 2 16: <world> killed Daemia by MOD_LAVA",
        "  0:52 Kill: 2 2 7: Daemia killed Daemia by MOD_ROCKET_SPLASH",
        "  3:34 Kill: 1 2 7: Da  0:00 ------------------------------------------------------------",
    }));
    ASSERT_EQ(players.size(), 3u) << "nobody named <world>, nobody from the line cut short";
    const TPlayerSummary& visor = players.at("Visor");
    EXPECT_EQ(visor.Kills, 5u);
    EXPECT_EQ(visor.Deaths, 1u);
    EXPECT_EQ(TopWeapon(visor), "Rocket launcher") << "three rocket kills of both kinds beat two rail kills";
    EXPECT_EQ(visor.WeaponKills, (std::map<std::string, std::uint64_t>{
                                     {"MOD_RAILGUN", 2}, {"MOD_ROCKET", 2}, {"MOD_ROCKET_SPLASH", 1}}));
    EXPECT_EQ(visor.MostKilled, "Grunt");
    EXPECT_EQ(visor.MostKilledTimes, 3u);
    EXPECT_EQ(visor.MostKilledBy, "Grunt");

    const TPlayerSummary& daemia = players.at("Daemia");
    EXPECT_EQ(daemia.Kills, 0u);
    EXPECT_EQ(daemia.Deaths, 4u) << "twice by Visor, by the world, by herself";
    EXPECT_EQ(daemia.Suicides, 1u);
    EXPECT_EQ(daemia.MostKilledBy, "Visor") << "neither the world nor herself";

    const TPlayerSummary& grunt = players.at("Grunt");
    EXPECT_EQ(TopWeapon(grunt), "MOD_HOOK") << "a means of a mod, as the server named it";
}

TEST(PlayerStatsTest, Renames_CountUnderTheLastName_WithTheEarlierNamesListed)
{
    // Client dumps: "A renamed to B", also into a name that has counts of its own.
    auto players = ByName(Count({
        "Doom^7: hi all",
        "Doom^7 was railed by Sarge^7",
        "Doom^7 renamed to ^1Ranger",
        "^1Ranger^7: new name",
        "Xaero^7: hi",
        "Ranger^7 renamed to Xaero",
        "Doom^7: the name is free again", // another player
    }));
    ASSERT_EQ(players.size(), 3u);
    EXPECT_EQ(players["Doom"].ChatLines, 1u);
    EXPECT_EQ(players["Doom"].FirstLine, 7u);
    EXPECT_EQ(players["Xaero"].ChatLines, 3u);
    EXPECT_EQ(players["Xaero"].Deaths, 1u);
    EXPECT_EQ(players["Xaero"].FirstLine, 1u) << "the player's first line, under the first name";
    EXPECT_EQ(players["Xaero"].EarlierNames, (std::vector<std::string>{"Doom", "Ranger"}));
    EXPECT_EQ(players["Sarge"].MostKilled, "Xaero");

    // Server logs: a slot's new name within one game is a rename, and a
    // broadcast of the same rename is not counted twice; a slot given out
    // again (a new game, a reconnection) is another player.
    players = ByName(Count({
        "  0:00 InitGame: \\sv_hostname\\noname",
        "  0:00 ClientConnect: 1",
        "  0:00 ClientUserinfoChanged: 1 n\\Major\\t\\0\\model\\major",
        "  0:05 say: Major: hello",
        "broadcast: print \"Major^7 renamed to Stripe\\n\"",
        "  0:06 ClientUserinfoChanged: 1 n\\Stripe\\t\\0\\model\\major",
        "  0:07 ClientUserinfoChanged: 1 n\\Stripe\\t\\1\\model\\major",
        "  0:08 say: Stripe: renamed",
        "  0:08 ClientUserinfoChanged: 2 n\\Visor\\t\\0",
        "  0:08 say: Visor: hi",
        "  0:08 ClientUserinfoChanged: 2 n\\Sarge\\t\\0", // a game log says no more
        "  0:08 say: Sarge: hi again",
        "  0:09 ShutdownGame:",
        "  0:00 InitGame: \\sv_hostname\\noname",
        "  0:00 ClientUserinfoChanged: 1 n\\Daemia\\t\\0", // a game's first name of the slot
        "  0:01 ClientDisconnect: 1",
        "  0:02 ClientConnect: 1",
        "  0:02 ClientUserinfoChanged: 1 n\\Grunt\\t\\0",
        "  0:03 say: Grunt: hi",
    }));
    ASSERT_EQ(players.size(), 4u);
    EXPECT_EQ(players["Sarge"].ChatLines, 2u);
    EXPECT_EQ(players["Sarge"].EarlierNames, std::vector<std::string>{"Visor"});
    EXPECT_EQ(players["Stripe"].ChatLines, 2u);
    EXPECT_EQ(players["Stripe"].EarlierNames, std::vector<std::string>{"Major"});
    EXPECT_TRUE(players["Daemia"].EarlierNames.empty());
    EXPECT_TRUE(players["Grunt"].EarlierNames.empty());
    EXPECT_EQ(players["Grunt"].ChatLines, 1u);
}

TEST(PlayerStatsTest, NamesWithCodesAndColons_AreOnePlayer_ChatAndWordsCounted)
{
    const std::vector<TPlayerSummary> players = Count({
        "^1Sar^3ge^7: ^2gg ^3 wp",             // chat
        "(Sarge^7) (Red Base): ^5I'm ^7 here",  // team
        "[^xff0000Sarge^7]: psst",              // tell
        "  0:01 ClientUserinfoChanged: 4 n\\Mr: Smith\\t\\0",
        "  0:02 say: Mr: Smith: hi: there",
        "  0:03 tell: Mr: Smith to Sarge: go",
        "  0:04 Kill: 4 2 10: Mr: Smith killed ^1Sarge by MOD_RAILGUN",
    });
    ASSERT_EQ(players.size(), 2u);
    const TPlayerSummary& sarge = players[0];
    EXPECT_EQ(sarge.Name, "Sarge");
    EXPECT_EQ(sarge.ChatLines, 3u);
    EXPECT_EQ(sarge.Words, 5u) << "codes are neither words nor parts of one";
    EXPECT_EQ(sarge.Deaths, 1u);
    const TPlayerSummary& smith = players[1];
    EXPECT_EQ(smith.Name, "Mr: Smith");
    EXPECT_EQ(smith.ChatLines, 2u);
    EXPECT_EQ(smith.Words, 3u);
    EXPECT_EQ(smith.Kills, 1u);
    EXPECT_EQ(smith.FirstLine, 4u);
}

TEST(PlayerStatsTest, FirstLine_IsTheFirstLineOnThePage_AndAliasesJoinTheirPlayer)
{
    TLineClassifier classifier;
    TPlayerStats stats(TPlayerAliases{{"Doomguy", "Doom"}});
    stats.Add(classifier.Classify("Doom^7 connected"), 0); // left out of the page
    stats.Add(classifier.Classify("Doom^7: hi"), 7);
    stats.Add(classifier.Classify("Doomguy^7: hi again"), 8);
    const std::vector<TPlayerSummary> players = stats.Players();
    ASSERT_EQ(players.size(), 1u);
    EXPECT_EQ(players[0].FirstLine, 7u);
    EXPECT_EQ(players[0].ChatLines, 2u);
    EXPECT_EQ(players[0].EarlierNames, std::vector<std::string>{"Doomguy"});
}

TEST(PlayerStatsTest, Words_AreRunsBetweenSpacesThatShowSomething)
{
    const std::pair<const char*, std::uint64_t> cases[] = {
        {"", 0},
        {"gg", 1},
        {"  two  words  ", 2},
        {"tab\tand\x19" "control\x01" "bytes", 4},
        {"caf\xC3\xA9 au lait, s'il vous pla\xC3\xAEt !", 7},
        {"averyveryverylongwordthatrunsovermanybytes and more", 3},
        {"12345678 b", 2},
        {"1234567 9", 2},
        {"12345678 ^1b", 2},
        {"a b c d e f g h i j k l m n o p q r s t u v w x y z", 26},
        {"^1red^7text ^2 ^xff00ffpink", 2}, // a code alone is no word, nor does one split a word
        {"1^", 1},
    };
    for (const auto& [text, words] : cases)
        EXPECT_EQ(CountWords(text), words) << text;
}

TEST(PlayersSectionTest, ATableOfNamesLinkedToTheirFirstLine_EscapedAndWithoutControls_NothingWithoutPlayers)
{
    EXPECT_EQ(PlayersSectionHtml({}), "");
    TPlayerSummary bob;
    bob.Name = "<b>&\x01o\xC3\xA9";
    bob.ChatLines = 12;
    bob.Words = 40;
    bob.Kills = 3;
    bob.Deaths = 2;
    bob.Suicides = 1;
    bob.WeaponKills = {{"MOD_RAILGUN", 1}, {"MOD_PLASMA", 1}, {"MOD_PLASMA_SPLASH", 1}};
    bob.FirstLine = 17;
    bob.EarlierNames = {"a\"b"};
    TPlayerSummary quiet;
    quiet.Name = "quiet";
    EXPECT_EQ(PlayersSectionHtml({bob, quiet}),
              "<section class=\"players\" id=\"players\">\r\n<h2>Players</h2>\r\n"
              "<table class=\"players\">\r\n<thead><tr><th>Player</th><th class=\"n\">Chat lines</th>"
              "<th class=\"n\">Words</th><th class=\"n\">Kills</th><th class=\"n\">Deaths</th>"
              "<th class=\"n\">Suicides</th><th>Top weapon</th></tr></thead>\r\n<tbody>\r\n"
              "<tr><td><a href=\"#L17\">&lt;b&gt;&amp;o\xC3\xA9</a> <small class=\"earlier\">(was a&quot;b)</small>"
              "</td><td class=\"n\">12</td><td class=\"n\">40</td><td class=\"n\">3</td><td class=\"n\">2</td>"
              "<td class=\"n\">1</td><td>Plasma gun</td></tr>\r\n"
              "<tr><td>quiet</td><td class=\"n\">0</td><td class=\"n\">0</td><td class=\"n\">0</td>"
              "<td class=\"n\">0</td><td class=\"n\">0</td><td></td></tr>\r\n"
              "</tbody>\r\n</table>\r\n</section>\r\n");
}

} // namespace
} // namespace velmora
