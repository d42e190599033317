// The command-line tool at the edges of what it accepts: colour values at the
// ends of their range, how far a mistyped word may be from the one suggested,
// and the exit status of a run whose page cannot be written.
#include <filesystem>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "CliProcess.h"
#include "cli/UProfileJson.h"
#include "cli/UUsage.h"
#include "support/FakeControls.h"
#include "support/ProfileFiles.h"

namespace velmora::test {
namespace {

using nlohmann::json;

TEST(CliBoundaries, ColoursAtTheEndsOfTheirRange)
{
    FakeMessageBoxes boxes;
    THighlightProfile profile(nullptr, TPlatform{nullptr, &boxes, "/prog/"});
    cli::ApplyProfileJson(json::parse(R"({"html": {"backColor": 16777215, "textColor": "#FFFFFF", "linkColor": 0}})"),
                          profile);
    EXPECT_EQ(profile.HTMLOptions().FBackColor, 0xFFFFFF);
    EXPECT_EQ(profile.HTMLOptions().FTextColor, 0xFFFFFF);
    EXPECT_EQ(profile.HTMLOptions().FLinkColor, 0);
    for (const char* refused : {R"({"html": {"backColor": "#FF000000"}})", R"({"html": {"backColor": "#FFFFF"}})",
                                R"({"html": {"backColor": 16777216}})"})
        EXPECT_THROW(cli::ApplyProfileJson(json::parse(refused), profile), cli::EProfileJsonError) << refused;
}

TEST(CliBoundaries, ASuggestionIsAtMostTwoEditsAway)
{
    const std::vector<std::string> options = {"--existing", "--profile"};
    EXPECT_EQ(cli::NearestWord("--exsitnig", options), "--existing"); // two swaps
    EXPECT_EQ(cli::NearestWord("--exXstXng", options), "--existing"); // two changes
    EXPECT_EQ(cli::NearestWord("--eXXstXng", options), "") << "three edits are not a slip, however long the word";
    EXPECT_EQ(cli::NearestWord("--eXisting-now", options), "");
}

TEST(CliBoundaries, APageThatCannotBeWrittenEndsTheRunWithStatusOne)
{
    TempDir dir;
    TCliProcess cli(dir);
    const std::string profile = WriteProfile(dir, "p.cfg", "T");
    dir.Write("a.txt", "a line\n");
    // A folder stands where the page should go.
    std::filesystem::create_directories(dir.File("out/a.htm/inner"));
    TCliResult r = cli.Run({"convert", "--profile", profile, "--dest", "out", "--images", "out", "--existing",
                            "overwrite", "a.txt"});
    EXPECT_EQ(r.Status, 1) << r.Out << r.Err;
    EXPECT_NE(r.Out.find("Not converted. Error writing to output file"), std::string::npos) << r.Out;
    EXPECT_EQ(r.Err, "One or more files were not converted\n");
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("out/a.htm/inner")));
}

} // namespace
} // namespace velmora::test
