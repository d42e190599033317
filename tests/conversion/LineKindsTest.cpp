// The kinds of dump lines: every rule on its own example, the hard cases of
// names, time stamps and look-alikes, and the real dumps counted.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conversion/UDumpText.h"
#include "conversion/ULineKinds.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

std::string S(std::string_view view)
{
    return std::string(view);
}

// The names that the Quake Live examples need seen first.
void Introduce(TLineClassifier& classifier)
{
    for (const char* line : {"wushy entered the game", "ZOLTAN connected"})
        ASSERT_EQ(classifier.Classify(line).Kind, TLineKind::Event) << line;
}

TEST(LineKindsTest, EveryRule_SortsItsExample)
{
    for (const TLineRule& rule : LineRules()) {
        TLineClassifier classifier;
        Introduce(classifier);
        const TLineFacts facts = classifier.Classify(rule.Example);
        EXPECT_EQ(facts.Kind, rule.Kind) << rule.Example;
        switch (facts.Kind) {
        case TLineKind::Chat:
        case TLineKind::Team:
        case TLineKind::Tell:
            EXPECT_FALSE(facts.Speaker.empty()) << rule.Example;
            break;
        case TLineKind::Kill:
            EXPECT_FALSE(facts.Victim.empty()) << rule.Example;
            if (rule.Form >= TLineForm::KilledBy) {
                EXPECT_EQ(facts.Means, rule.Means) << rule.Example;
            }
            break;
        case TLineKind::Event:
        case TLineKind::Other: // a server log's game start and end
            EXPECT_EQ(facts.Event, rule.Event) << rule.Example;
            break;
        }
    }
}

struct TCase {
    const char* Line;
    TLineKind Kind;
    const char* Name = "";  // speaker, victim or event player
    const char* Other = ""; // chat text, killer, new name or team
};

std::string NameOf(const TLineFacts& f)
{
    return S(f.Kind == TLineKind::Kill ? f.Victim : f.Kind == TLineKind::Event ? f.Player : f.Speaker);
}

std::string OtherOf(const TLineFacts& f)
{
    if (f.Kind == TLineKind::Kill)
        return S(f.Killer);
    if (f.Kind == TLineKind::Event)
        return S(f.Event == TGameEvent::Rename ? f.NewName : f.Team);
    return S(f.Text);
}

TEST(LineKindsTest, NamesWithSpacesColonsParenthesesAndCodes_TimeStamps_AndLookAlikes)
{
    using K = TLineKind;
    const TCase cases[] = {
        // Names holding what the forms are made of.
        {"Mr: Smith^7: hi there", K::Chat, "Mr: Smith", "hi there"},
        {"^1A^2n^3a^4r^5k^6i^7\x19: ^2gg", K::Chat, "^1A^2n^3a^4r^5k^6i", "^2gg"},
        {"(Doc (Holliday)^7) (Blue Base): ^5incoming", K::Team, "Doc (Holliday)", "^5incoming"},
        {"[Zero]One^7]: ^6psst", K::Tell, "Zero]One", "^6psst"},
        {"^1Big Gun^7 was railed by ^4Two: Face^7", K::Kill, "^1Big Gun", "^4Two: Face"},
        {"Doc (Holliday)^7 ate ^3X^7's rocket", K::Kill, "Doc (Holliday)", "^3X"},
        {"say: Mr: Smith: hi", K::Chat, "Mr", "Smith: hi"},
        // Time stamps of every form, kept out of the names.
        {"  0:41 Kill: 0 3 10: EvilTwigFlipper killed Grunt by MOD_RAILGUN", K::Kill, "Grunt", "EvilTwigFlipper"},
        {"123:05 say: Visor: gg", K::Chat, "Visor", "gg"},
        {"[12:34:56] Sarge^7: ^2hello", K::Chat, "Sarge", "^2hello"},
        {"[1:02.777]  (fraggan^7) (Rail Stairwell): @ HELP", K::Team, "fraggan", "@ HELP"},
        {"^1[^723^1:^724^1]^7 Tanya^7^s was railed by ^7S^2t^7eff^7^s.", K::Kill, "Tanya", "^7S^2t^7eff"},
        {"^\\^7^1[^723^1:^751^1]^7 [6] ^0wura/^6afk^7:^2 :))", K::Chat, "^0wura/^6afk", ":))"},
        // Events, with the remarks some mods append.
        {"^1[^723^1:^725^1]^7 u^xeeff55\xB6^so_Hexyu^s entered the game. (^1RED^s)", K::Event,
         "u^xeeff55\xB6^so_Hexyu", ""},
        {"u^xeeff55\xB6^so_Hexyu^s renamed to u^xeeff55\xB6^so_Hexyu^s-away^s.", K::Event, "u^xeeff55\xB6^so_Hexyu",
         "u^xeeff55\xB6^so_Hexyu^s-away"},
        {"quakekidda.......... renamed to k.", K::Event, "quakekidda..........", "k."},
        {"Sarge^7 joined the red team.", K::Event, "Sarge", "red team"},
        // Lines that only look like one of the forms.
        {"Railgun    ^3:^s  40.2%    37/92       37     21     0", K::Other},
        {"^1Damage Given:^7 29000        ^1Armor  Taken:^7 0", K::Other},
        {"Workshop item 1950052814: was queued, requesting download.", K::Other},
        {"broadcast: print \"Waiting for players\\n\"", K::Other},
        {"Kill: 1 2 7: Da  0:00 ------------------------------------------------------------", K::Other},
        {"Kill: 1 2 x: A killed B by MOD_RAILGUN", K::Other},
        {"Item: 3 weapon_railgun", K::Other},
        {"]\\say cratered.", K::Other},
        {"", K::Other},
        {"[0:00.000]", K::Other},
        {"^7: nobody", K::Other},
        {"Sarge^7 was railed by ^7", K::Other},
    };
    for (const TCase& c : cases) {
        TLineClassifier classifier;
        const TLineFacts facts = classifier.Classify(c.Line);
        EXPECT_EQ(facts.Kind, c.Kind) << c.Line;
        if (c.Kind == K::Other)
            continue;
        EXPECT_EQ(NameOf(facts), c.Name) << c.Line;
        EXPECT_EQ(OtherOf(facts), c.Other) << c.Line;
    }
}

TEST(LineKindsTest, ServerKills_WorldAndSuicide_AndClientSlots)
{
    TLineClassifier classifier;
    TLineFacts world = classifier.Classify("  0:51 Kill: 1022 2 16: <world> killed Visor by MOD_LAVA");
    EXPECT_EQ(world.Kind, TLineKind::Kill);
    EXPECT_TRUE(world.ByWorld);
    EXPECT_TRUE(world.Killer.empty());
    EXPECT_EQ(S(world.Victim), "Visor");
    EXPECT_EQ(world.Means, TMeansOfDeath::Lava);
    EXPECT_EQ(world.KillerSlot, 1022);
    EXPECT_EQ(world.Slot, 2);

    TLineFacts self = classifier.Classify("Kill: 2 2 7: Biker killed Biker by MOD_ROCKET_SPLASH");
    EXPECT_TRUE(self.Suicide);
    EXPECT_FALSE(self.ByWorld);
    EXPECT_EQ(S(self.Killer), "Biker");

    TLineFacts modded = classifier.Classify("Kill: 3 4 31: Anarki killed Klesk by MOD_HOOK");
    EXPECT_EQ(modded.Means, TMeansOfDeath::Unknown);
    EXPECT_EQ(S(modded.MeansText), "MOD_HOOK");

    TLineFacts info = classifier.Classify(
        "ClientUserinfoChanged: 3 n\\^1A^2n^3a^4r^5k^6i\\t\\1\\model\\anarki\\hmodel\\anarki\\c1\\4");
    EXPECT_EQ(info.Event, TGameEvent::Userinfo);
    EXPECT_EQ(info.Slot, 3);
    EXPECT_EQ(S(info.Player), "^1A^2n^3a^4r^5k^6i");
    EXPECT_EQ(S(info.Team), "1");

    TLineFacts gone = classifier.Classify("ClientDisconnect: 10");
    EXPECT_EQ(gone.Event, TGameEvent::Disconnect);
    EXPECT_EQ(gone.Slot, 10);

    TLineFacts tell = classifier.Classify("tell: Xaero to ]>ar]< ]_0r]>: ]>ar]< ]_0r]> guard the base");
    EXPECT_EQ(S(tell.Speaker), "Xaero");
    EXPECT_EQ(S(tell.Addressee), "]>ar]< ]_0r]>");

    TLineFacts slotChat = classifier.Classify("[5^7] shit_lag^s:^2 lag");
    EXPECT_EQ(slotChat.Slot, 5);

    // A server chat line whose name holds ": " is split after a known name.
    classifier.Classify("ClientUserinfoChanged: 4 n\\Mr: Smith\\t\\0");
    EXPECT_EQ(S(classifier.Classify("say: Mr: Smith: hi").Speaker), "Mr: Smith");
}

TEST(LineKindsTest, ClientObituaries_SuicidesAndWorldDeaths_AreTold)
{
    TLineClassifier classifier;
    TLineFacts self = classifier.Classify("Daemia^7 blew herself up.");
    EXPECT_TRUE(self.Suicide);
    EXPECT_EQ(S(self.Killer), "Daemia");
    EXPECT_EQ(self.Means, TMeansOfDeath::RocketSplash);
    TLineFacts fall = classifier.Classify("Doom^7 cratered.");
    EXPECT_TRUE(fall.ByWorld);
    EXPECT_TRUE(fall.Killer.empty());
    EXPECT_EQ(S(fall.MeansText), "MOD_FALLING");
    TLineFacts plasma = classifier.Classify("Doom^7 melted himself.");
    EXPECT_EQ(plasma.Means, TMeansOfDeath::PlasmaSplash);
    EXPECT_EQ(classifier.Classify("Doom^7 melted.").Means, TMeansOfDeath::Slime);
}

TEST(LineKindsTest, QuakeLiveChat_CountsOnlyForAPlayerSeenBefore)
{
    TLineClassifier classifier;
    EXPECT_EQ(classifier.Classify("[5:25.225] wushy:  :>").Kind, TLineKind::Other);
    EXPECT_EQ(classifier.Classify("[1:02.777]  (fraggan) (Rail Stairwell): @ HELP").Kind, TLineKind::Other);
    classifier.Classify("[4:16.174] wushy ate fraggan's rocket");
    EXPECT_TRUE(classifier.KnowsPlayer("^3wushy"));

    TLineFacts chat = classifier.Classify("[5:25.225] wushy:  :>");
    EXPECT_EQ(chat.Kind, TLineKind::Chat);
    EXPECT_EQ(S(chat.Text), " :>");
    EXPECT_EQ(classifier.Classify("[1:02.777]  (fraggan) (Rail Stairwell): @ HELP").Kind, TLineKind::Team);
    EXPECT_EQ(classifier.Classify("Vote results: 3 - 0.").Kind, TLineKind::Other);
    // Seen under a name with colons, in a rename.
    classifier.Classify("fender bender renamed to [z:a]");
    EXPECT_EQ(S(classifier.Classify("[z:a]: !teams").Speaker), "[z:a]");
}

TEST(LineKindsTest, KnownPlayers_AreTheNamesSeen_ByteForByte)
{
    // Names of every length around those held whole in two words, each asked
    // twice (the second time it is found as spelt before), and the same
    // names with any one byte changed, which were never seen.
    TLineClassifier classifier;
    for (std::size_t size = 1; size <= 20; ++size)
        classifier.Classify(std::string(size, 'a') + "^7 entered the game");
    for (std::size_t size = 1; size <= 20; ++size) {
        const std::string name(size, 'a');
        EXPECT_TRUE(classifier.KnowsPlayer(name)) << size;
        EXPECT_TRUE(classifier.KnowsPlayer(name)) << size;
        EXPECT_TRUE(classifier.KnowsPlayer("^1" + name)) << size;
        for (std::size_t at = 0; at < size; ++at) {
            std::string other = name;
            other[at] = 'b';
            EXPECT_FALSE(classifier.KnowsPlayer(other)) << size << " " << at;
        }
    }
}

TEST(LineKindsTest, PlayerName_LeavesOutCodesHexCodesAndChatEscapes)
{
    EXPECT_EQ(PlayerName("u^xeeff55\xB6^so_Hexyu^s"), "u\xB6o_Hexyu");
    EXPECT_EQ(PlayerName("\x19(^1A^2n^7\x19)"), "(An)");
    EXPECT_EQ(PlayerName("a^^7b^"), "a^b^");
}

// Every line of a real dump, counted by kind, against what can be counted
// in the dump by its fixed wording alone.
std::vector<std::string> DumpLines(const std::string& name)
{
    const std::string bytes =
        test::TempDir::Read(std::string(VELMORA_SHARED_TESTDATA) + "/q3dumps/" + name);
    std::vector<std::string> lines;
    TDumpLineReader reader(bytes);
    std::string_view line;
    while (reader.Next(line))
        lines.emplace_back(line);
    return lines;
}

TEST(LineKindsTest, RealServerLogs_EverySayKillAndClientLineIsFound)
{
    std::vector<std::string> log = DumpLines("q3llm-games.log");
    ASSERT_EQ(log.size(), 5480u) << "the shared test data is missing or changed";
    std::size_t says = 0, kills = 0, clients = 0, found[6] = {};
    TLineClassifier classifier;
    for (const std::string& line : log) {
        says += line.find(" say: ") == 6;
        // A kill line is whole when it ends with its means of death.
        kills += line.find(" Kill: ") == 6 && line.find(" by MOD_") != std::string::npos;
        clients += line.find(" Client") == 6;
        ++found[static_cast<int>(classifier.Classify(line).Kind)];
    }
    EXPECT_EQ(found[static_cast<int>(TLineKind::Chat)], says);
    EXPECT_EQ(found[static_cast<int>(TLineKind::Kill)], kills);
    EXPECT_EQ(found[static_cast<int>(TLineKind::Event)], clients);

    std::vector<std::string> console = DumpLines("ioq3-server-qconsole.log");
    ASSERT_EQ(console.size(), 3202u);
    std::size_t teamLines = 0, tells = 0, teamFound = 0, tellFound = 0;
    TLineClassifier serverClassifier;
    for (const std::string& line : console) {
        teamLines += line.starts_with("sayteam: ") || line.starts_with("\x19(");
        tells += line.starts_with("tell: ");
        const TLineKind kind = serverClassifier.Classify(line).Kind;
        teamFound += kind == TLineKind::Team;
        tellFound += kind == TLineKind::Tell;
    }
    EXPECT_EQ(teamFound, teamLines);
    EXPECT_EQ(tellFound, tells);
}

} // namespace
} // namespace velmora
