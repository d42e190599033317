// velmora-cli run as a user or a script runs it: the built program in a
// temporary directory, its output lines, pages and exit statuses.
#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "CliProcess.h"
#include "conversion/UDumpText.h"
#include "conversion/ULineKinds.h"
#include "conversion/UPlayerStats.h"
#include "platform/UDialogs.h"
#include "platform/UPaths.h"
#include "settings/UHighLighter.h"
#include "support/FakeControls.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace velmora::test {
namespace {

const char* const ReadErrorCaption = "Error reading from the specified file";
const char* const ReadErrorText = "Try a different file name, or delete the current one to create a new\n"
                                  "one with the default configuration after restarting the application";

class CliEndToEnd : public ::testing::Test {
protected:
    CliEndToEnd() : Cli(Dir)
    {
        fs::create_directory(Path("out"));
        Profile = WriteProfile("p.cfg", [](THighlightProfile&) {});
    }

    // A profile file made in this process, changed by setup before it is saved.
    template <typename F>
    std::string WriteProfile(const std::string& name, F setup)
    {
        FakeMessageBoxes boxes;
        TPlatform platform{nullptr, &boxes, Dir.Path()};
        THighlightProfile profile(nullptr, platform);
        setup(profile);
        std::string path = Path(name);
        EXPECT_TRUE(profile.SaveToFile(path));
        return path;
    }

    // A path inside the test's directory, written as the program writes it.
    std::string Path(const std::string& name) const
    {
        std::string path = Dir.File(name);
        std::replace(path.begin(), path.end(), '/', PathDelim);
        return path;
    }

    TCliResult Convert(std::vector<std::string> extra)
    {
        std::vector<std::string> args{"convert", "--profile", Profile, "--dest", "out", "--images", "out"};
        args.insert(args.end(), extra.begin(), extra.end());
        return Cli.Run(args);
    }

    TempDir Dir;
    TCliProcess Cli;
    std::string Profile;
};

TEST_F(CliEndToEnd, Convert_TwoDumps_PrintsOneLinePerFileAndExitsZero)
{
    Dir.Write("b.txt", "second dump\n");
    Dir.Write("a.dmp", "first <b>dump</b>\r\nline two");

    TCliResult r = Convert({"b.txt", "a.dmp"});

    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Err, "");
    // Sorted as the file list always is, each with the page it wrote.
    EXPECT_EQ(r.Out, Path("a.dmp") + ": Converted -> " + Path("out/a.htm") + "\n" + Path("b.txt") +
                         ": Converted -> " + Path("out/b.htm") + "\n");
    std::string page = TempDir::Read(Path("out/a.htm"));
    EXPECT_NE(page.find("\r\nfirst <b>dump</b><BR>\r\nline two<BR>\r\n"), std::string::npos) << page;
    EXPECT_NE(TempDir::Read(Path("out/b.htm")).find("second dump<BR>"), std::string::npos);
}

TEST_F(CliEndToEnd, Convert_ExistingPage_SkippedThenOverwrittenOnRequest)
{
    Dir.Write("a.txt", "new text\n");
    Dir.Write("out/a.htm", "old page");
    std::string line = Path("a.txt") + ": ";

    // The profile's own setting skips; "ask" without a terminal counts as a
    // question closed unanswered: both leave the page alone, by choice.
    for (std::vector<std::string> extra : {std::vector<std::string>{"a.txt"}, {"--existing", "ask", "a.txt"}}) {
        TCliResult skipped = Convert(extra);
        EXPECT_EQ(skipped.Status, 0);
        EXPECT_EQ(skipped.Out, line + "Not converted. Skipped existing file\n");
        EXPECT_EQ(skipped.Err, "");
        EXPECT_EQ(TempDir::Read(Path("out/a.htm")), "old page");
    }

    TCliResult overwritten = Convert({"--existing", "overwrite", "a.txt"});
    EXPECT_EQ(overwritten.Status, 0) << overwritten.Err;
    EXPECT_EQ(overwritten.Out, line + "Converted. Overwritten existing file -> " + Path("out/a.htm") + "\n");
    EXPECT_NE(TempDir::Read(Path("out/a.htm")).find("new text<BR>"), std::string::npos);
}

TEST_F(CliEndToEnd, Convert_NonAsciiFileNames_ConvertUnderTheirNames)
{
    const std::string umlaut = "\xC3\x84rger", cyrillic = "\xD0\x9B\xD0\xBE\xD0\xB3"; // Ärger, Лог
    Dir.Write(umlaut + ".txt", "first\n");
    Dir.Write(cyrillic + ".txt", "second\n");

    TCliResult r = Convert({umlaut + ".txt", cyrillic + ".txt"});

    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, Path(umlaut + ".txt") + ": Converted -> " + Path("out/" + umlaut + ".htm") + "\n" +
                         Path(cyrillic + ".txt") + ": Converted -> " + Path("out/" + cyrillic + ".htm") + "\n");
    EXPECT_NE(TempDir::Read(Path("out/" + cyrillic + ".htm")).find("second<BR>"), std::string::npos);
}

TEST_F(CliEndToEnd, Convert_MissingDump_ReportsReadErrorAndExitsOne)
{
    Dir.Write("a.txt", "here\n");

    fs::create_directory(Path("dir.txt"));

    TCliResult r = Convert({"a.txt", "gone.txt", "dir.txt"});

    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Out, Path("a.txt") + ": Converted -> " + Path("out/a.htm") + "\n" + Path("dir.txt") +
                         ": Error reading source file (a directory)\n" + Path("gone.txt") +
                         ": Error reading source file (not found)\n");
    EXPECT_EQ(r.Err, "One or more files were not converted\n");
    EXPECT_FALSE(fs::exists(Path("out/gone.htm")));
}

TEST_F(CliEndToEnd, Convert_QuietPrintsOnlyFailuresOnStandardError_SummaryCountsEachOutcome)
{
    Dir.Write("a.txt", "a\n");
    Dir.Write("b.txt", "b\n");
    Dir.Write("out/b.htm", "old page");

    TCliResult quiet = Convert({"--quiet", "--summary", "a.txt", "b.txt", "gone.txt"});
    EXPECT_EQ(quiet.Status, 1);
    EXPECT_EQ(quiet.Out, "1 converted, 1 skipped, 1 failed\n");
    EXPECT_EQ(quiet.Err, Path("gone.txt") + ": Error reading source file (not found)\n"
                                            "One or more files were not converted\n");

    TCliResult summary = Convert({"--summary", "--existing", "overwrite", "a.txt"});
    EXPECT_EQ(summary.Status, 0);
    EXPECT_EQ(summary.Out, Path("a.txt") + ": Converted. Overwritten existing file -> " + Path("out/a.htm") +
                               "\n1 converted, 0 skipped, 0 failed\n");

    // Nothing at all when all goes well, not even the note of a folder made.
    TCliResult silent = Cli.Run({"convert", "--profile", Profile, "--dest", "new", "--images", "new", "--quiet", "a.txt"});
    EXPECT_EQ(silent.Status, 0);
    EXPECT_EQ(silent.Out, "");
    EXPECT_EQ(silent.Err, "");
    EXPECT_TRUE(fs::is_regular_file(Path("new/a.htm")));
}

TEST_F(CliEndToEnd, Convert_DumpsOfTheSameName_TheLaterIsNotConverted_ItsLineSaysWhy)
{
    fs::create_directory(Path("same"));
    Dir.Write("same/log.log", "first\n");
    Dir.Write("same/log.txt", "second\n");

    TCliResult r = Convert({"--existing", "overwrite", "same/log.log", "same/log.txt"});

    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Out, Path("same/log.log") + ": Converted -> " + Path("out/log.htm") + "\n" + Path("same/log.txt") +
                         ": Not converted. Error writing to output file (the page " + Path("out/log.htm") +
                         " was written from " + Path("same/log.log") + " earlier in this run)\n");
    EXPECT_NE(TempDir::Read(Path("out/log.htm")).find("first<BR>"), std::string::npos);
}

#ifndef _WIN32 // named pipes are POSIX
TEST_F(CliEndToEnd, NamedPipes_AreRefusedAsNotARegularFile_WithoutWaiting)
{
    for (const char* name : {"pipe.txt", "pipe.cfg"})
        ASSERT_EQ(mkfifo(Path(name).c_str(), 0600), 0);

    TCliResult dump = Convert({"pipe.txt"});
    EXPECT_EQ(dump.Status, 1);
    EXPECT_EQ(dump.Out, Path("pipe.txt") + ": Error reading source file (not a regular file)\n");

    TCliResult stats = Cli.Run({"stats", "pipe.txt"});
    EXPECT_EQ(stats.Status, 1);
    EXPECT_EQ(stats.Err, "velmora-cli: cannot read pipe.txt: not a regular file\n");

    TCliResult show = Cli.Run({"profile", "show", "pipe.cfg"});
    EXPECT_EQ(show.Status, 2);
    EXPECT_NE(show.Err.find("cannot read the profile pipe.cfg: not a regular file\n"), std::string::npos) << show.Err;

    TCliResult profile = Cli.Run({"convert", "--profile", "pipe.cfg", "--dest", "out", "a.txt"});
    EXPECT_EQ(profile.Status, 2);
    EXPECT_NE(profile.Err.find("cannot read the profile pipe.cfg: not a regular file\n"), std::string::npos)
        << profile.Err;
}
#endif

TEST_F(CliEndToEnd, Convert_ProfileFileList_UsedWhenNoDumpIsGiven_AndProfileLeftUnwritten)
{
    Dir.Write("x.txt", "x\n");
    Profile = WriteProfile("list.cfg", [this](THighlightProfile& p) { p.IOOptions().AddFiles({Path("x.txt")}); });
    std::string before = TempDir::Read(Profile);

    TCliResult r = Convert({"--existing", "overwrite"});

    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, Path("x.txt") + ": Converted -> " + Path("out/x.htm") + "\n");
    EXPECT_EQ(TempDir::Read(Profile), before);
}

TEST_F(CliEndToEnd, Convert_DumpTextOptions_OverrideTheProfileForThisRunOnly)
{
    Dir.Write("a.txt", "^1Red <b>\n");
    std::string before = TempDir::Read(Profile);

    TCliResult r = Convert({"--escape-text", "--color-codes", "remove", "a.txt"});

    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_NE(TempDir::Read(Path("out/a.htm")).find("\r\nRed &lt;b&gt;<BR>\r\n"), std::string::npos);
    EXPECT_EQ(TempDir::Read(Profile), before);
    EXPECT_EQ(Convert({"--color-codes", "rainbow", "a.txt"}).Status, 2);
    // The page style options: taken for this run only.
    EXPECT_EQ(Convert({"--existing", "overwrite", "--style", "modern", "a.txt"}).Status, 0);
    EXPECT_EQ(TempDir::Read(Path("out/a.htm")).rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_EQ(TempDir::Read(Profile), before);
    EXPECT_EQ(Convert({"--style", "fancy", "a.txt"}).Status, 2);
    EXPECT_EQ(Convert({"--keep", "kills", "a.txt"}).Status, 2);
}

TEST_F(CliEndToEnd, Convert_ModernChatOnlyWithIndex_WritesPagesAndIndex_RefusesAPageNamedIndex)
{
    Dir.Write("a.txt", "loading\nBiker^7: hi <all>\n");
    Dir.Write("index.txt", "x\n");

    TCliResult r = Convert({"--style", "modern", "--keep", "chat", "--index", "--stats", "a.txt", "index.txt"});

    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Out, Path("a.txt") + ": Converted -> " + Path("out/a.htm") + "\n" + Path("index.txt") +
                         ": Not converted. Error writing to output file (the index page of the run takes that name)\n");
    const std::string page = TempDir::Read(Path("out/a.htm"));
    EXPECT_NE(page.find(R"(<div id="L2" class="chat"><a href="#L2"></a>Biker^7: hi &lt;all&gt;</div>)"), std::string::npos)
        << page;
    EXPECT_EQ(page.find("loading"), std::string::npos);
    EXPECT_NE(page.find("Players</h2>"), std::string::npos);
    EXPECT_NE(TempDir::Read(Path("out/index.htm")).find(R"(href="a.htm")"), std::string::npos);
}

TEST_F(CliEndToEnd, Convert_MissingDirectoriesAreMade_OneThatCannotBeStopsTheRunNamingIt)
{
    Dir.Write("a.txt", "a\n");
    Dir.Write("file", "");
    TCliResult made = Cli.Run({"convert", "--profile", Profile, "--dest", "pages", "--images", "pages/img", "a.txt"});
    EXPECT_EQ(made.Status, 0) << made.Err;
    EXPECT_EQ(made.Err, "velmora-cli: created the destination directory " + Path("pages/") +
                            "\nvelmora-cli: created the images directory " + Path("pages/img/") + "\n");
    EXPECT_TRUE(fs::is_regular_file(Path("pages/a.htm")));

    // The profile's own directories are made as well.
    std::string fromProfile = WriteProfile("dirs.cfg", [&](THighlightProfile& p) {
        p.IOOptions().SetDestDir(Path("nowhere"));
        p.IOOptions().SetDestImgDir(Path("out"));
    });
    TCliResult profileDirs = Cli.Run({"convert", "--quiet", "--profile", fromProfile, "a.txt"});
    EXPECT_EQ(profileDirs.Status, 0) << profileDirs.Err;
    EXPECT_EQ(profileDirs.Err, "");
    EXPECT_TRUE(fs::is_regular_file(Path("nowhere/a.htm")));

    TCliResult r = Cli.Run({"convert", "--profile", Profile, "--dest", "out", "--images", "file", "a.txt"});
    EXPECT_EQ(r.Status, 2);
    EXPECT_EQ(r.Err, "velmora-cli: Cannot create the images directory " + Path("file/") + ": Not a directory\n");
    EXPECT_EQ(r.Out, "");
}

TEST_F(CliEndToEnd, ProfileNewFromJson_ThenShowJson_GivesBackEveryValue)
{
    json values = {
        {"html",
         {{"backColor", "#563412"},
          {"textColor", "system:buttonFace"},
          {"linkColor", -2147483648LL}, // a system colour, but not as profiles store one: kept
          {"visitedLinkColor", -16777201}, // buttonFace, as stored

          {"brokenLines", true},
          {"relativeImages", false},
          {"backImage", "/img/back.jpg"},
          {"frontPageHtml", "<H1>Top</H1>\r\n<HR>"},
          {"endPageHtml", "<HR>\nend\r"},
          {"title", "Clan night \xC3\xA9t\xC3\xA9"},
          {"author", "Ana"}}},
        {"app",
         {{"ignoreCase", true},
          {"escapeText", true},
          {"colorCodes", "colors"},
          {"pageStyle", "modern"},
          {"keepLines", "events"},
          {"writeIndex", true},
          {"playerStats", true}}},
        {"io",
         {{"promptOnOverwrite", false},
          {"skipExisting", false},
          {"files", {"/d/b.txt", "/d/A.txt", "/d/b.txt"}},
          {"inputDir", "/in"},
          {"destDir", "/out/"},
          {"imagesDir", "/out/img/"}}},
        {"names",
         {{{"name", "Bob:"}, {"color", 255}, {"imageFile", "/i/bob.gif"}, {"htmlBefore", "<B>\n"}, {"htmlAfter", "</B>"}},
          {{"name", "eve"}, {"color", 0}, {"imageFile", ""}, {"htmlBefore", ""}, {"htmlAfter", ""}}}}};
    Dir.Write("values.json", values.dump());

    TCliResult made = Cli.Run({"profile", "new", "made.cfg", "--from-json", "values.json"});
    ASSERT_EQ(made.Status, 0) << made.Err;
    TCliResult shown = Cli.Run({"profile", "show", "made.cfg", "--json"});
    ASSERT_EQ(shown.Status, 0) << shown.Err;

    // The file list comes back sorted and without the case-duplicate, as a
    // profile always keeps it.
    json expected = values;
    expected["io"]["files"] = {"/d/A.txt", "/d/b.txt"};
    expected["html"]["visitedLinkColor"] = "system:buttonFace";
    expected["names"][0]["color"] = "#FF0000"; // red first, as in pages
    expected["names"][1]["color"] = "#000000";
    // Multi-line texts get the window's CR LF line ends.
    expected["html"]["endPageHtml"] = "<HR>\r\nend\r\n";
    expected["names"][0]["htmlBefore"] = "<B>\r\n";
    EXPECT_EQ(json::parse(shown.Out), expected);
}

TEST_F(CliEndToEnd, ProfileNewFromStandardInput_PartialJson_KeepsTheOtherDefaults)
{
    TCliResult made = Cli.Run({"profile", "new", "part.cfg", "--from-json", "-"}, R"({"html": {"author": "Zed"}})");
    ASSERT_EQ(made.Status, 0) << made.Err;

    json shown = json::parse(Cli.Run({"profile", "show", "part.cfg", "--json"}).Out);
    EXPECT_EQ(shown["html"]["author"], "Zed");
    EXPECT_EQ(shown["html"]["title"], "Quake 3 Arena Console Dump");
    EXPECT_EQ(shown["io"]["skipExisting"], true);
    EXPECT_EQ(shown["names"], json::array());
}

TEST_F(CliEndToEnd, ProfileNew_BadJson_IsAUsageErrorNamingTheKey_AndWritesNothing)
{
    struct Case {
        const char* Json;
        const char* Named;
    };
    for (const Case& c : {Case{R"({"html": {"titel": "x"}})", "html.titel: unknown key"},
                          Case{R"({"io": {"skipExisting": 1}})", "io.skipExisting: expected true or false"},
                          Case{R"({"names": [{"color": 5}]})", "names[0].name: missing"},
                          Case{R"({"html": {"backColor": 4294967296}})", "html.backColor: expected \"#RRGGBB\""},
                          Case{R"({"app": {"colorCodes": "rainbow"}})", "app.colorCodes: expected \"keep\""},
                          Case{R"({"app": {"pageStyle": "fancy"}})",
                               "app.pageStyle: expected \"classic\" or \"modern\""},
                          Case{R"({"app": {"keepLines": "kills"}})",
                               "app.keepLines: expected \"all\", \"events\" or \"chat\""},
                          Case{R"({"html": )", "parse error"}}) {
        TCliResult r = Cli.Run({"profile", "new", "bad.cfg", "--from-json", "-"}, c.Json);
        EXPECT_EQ(r.Status, 2) << c.Json;
        EXPECT_NE(r.Err.find(c.Named), std::string::npos) << r.Err;
        EXPECT_FALSE(fs::exists(Path("bad.cfg"))) << c.Json;
    }
}

TEST_F(CliEndToEnd, ProfileNew_ExistingFile_ReplacedOnlyWithForce)
{
    std::string before = TempDir::Read(Profile);

    TCliResult refused = Cli.Run({"profile", "new", "p.cfg", "--from-json", "-"}, R"({"html": {"author": "Q"}})");
    EXPECT_EQ(refused.Status, 2);
    EXPECT_NE(refused.Err.find("--force"), std::string::npos);
    EXPECT_EQ(TempDir::Read(Profile), before);

    TCliResult forced = Cli.Run({"profile", "new", "p.cfg", "--force", "--from-json", "-"}, R"({"html": {"author": "Q"}})");
    EXPECT_EQ(forced.Status, 0) << forced.Err;
    EXPECT_EQ(json::parse(Cli.Run({"profile", "show", "p.cfg", "--json"}).Out)["html"]["author"], "Q");
}

// The entry of a key in "profile --help": its line and the indented lines
// that continue it, blanks collapsed; empty when the key has none.
std::string KeyHelp(const std::string& help, const std::string& key)
{
    std::size_t at = help.find("\n  " + key + " ");
    if (at == std::string::npos)
        return "";
    std::size_t end = help.find('\n', at + 1);
    while (end != std::string::npos && help.compare(end, 4, "\n   ") == 0)
        end = help.find('\n', end + 1);
    std::string entry;
    for (char c : help.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1)) {
        if (c == '\n')
            c = ' ';
        if (c != ' ' || (!entry.empty() && entry.back() != ' '))
            entry += c;
    }
    return entry;
}

TEST_F(CliEndToEnd, ProfileHelp_DocumentsEveryKeyThatShowJsonPrints_WithItsDefault)
{
    // A new profile with one name, so that the keys of a name are printed too.
    ASSERT_EQ(Cli.Run({"profile", "new", "keys.cfg", "--from-json", "-"}, R"({"names": [{"name": "x"}]})").Status, 0);
    json shown = json::parse(Cli.Run({"profile", "show", "keys.cfg", "--json"}).Out);
    TCliResult help = Cli.Run({"profile", "--help"});
    ASSERT_EQ(help.Status, 0);
    // Where a new profile's value depends on the machine, or there is none, the help says so in words.
    const std::set<std::string> inWords{"io.inputDir", "io.destDir", "io.imagesDir", "names[].name"};

    std::size_t keys = 0;
    for (const auto& [group, values] : shown.items()) {
        bool list = values.is_array();
        for (const auto& [name, value] : (list ? values.at(0) : values).items()) {
            std::string key = group + (list ? "[]." : ".") + name;
            std::string entry = KeyHelp(help.Out, key);
            ++keys;
            EXPECT_NE(entry, "") << key << " is missing from \"velmora-cli profile --help\"";
            if (!entry.empty() && !inWords.count(key)) {
                EXPECT_NE(entry.find("default " + value.dump()), std::string::npos) << entry;
            }
        }
    }
    EXPECT_GE(keys, 25u);
}

TEST_F(CliEndToEnd, ProfileShowJson_BytesThatAreNotUtf8_BecomeReplacementCharacters)
{
    WriteProfile("latin1.cfg", [](THighlightProfile& p) { p.HTMLOptions().SetAuthor("Jos\xE9"); });

    TCliResult r = Cli.Run({"profile", "show", "latin1.cfg", "--json"});

    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(json::parse(r.Out)["html"]["author"], "Jos\xEF\xBF\xBD");
}

TEST_F(CliEndToEnd, ProfileShow_ReadableLayout_ListsValuesUnderTheWindowsCaptions)
{
    WriteProfile("r.cfg", [](THighlightProfile& p) {
        p.HTMLOptions().SetBrokenLines(true);
        p.AppOptions().SetColorCodes(TColorCodes::Colors);
        p.AppOptions().SetPageStyle(TPageStyle::Modern);
        p.AppOptions().SetKeepLines(TKeepLines::Chat);
        p.AppOptions().SetPlayerStats(true);
        p.AppOptions().SetCaseSensitive(true); // the stored flag: highlighting ignores case
        p.AddName("Bob:", "", "", "", 0x0000FF);
    });

    TCliResult r = Cli.Run({"profile", "show", "r.cfg"});

    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_NE(r.Out.find("  Treat long lines as broken: yes\n"), std::string::npos) << r.Out;
    EXPECT_NE(r.Out.find("  Highlighting ignores letter case: yes\n"), std::string::npos) << r.Out;
    EXPECT_EQ(json::parse(Cli.Run({"profile", "show", "--json", "r.cfg"}).Out)["app"]["ignoreCase"], true);
    EXPECT_NE(r.Out.find("  Title: Quake 3 Arena Console Dump\n"), std::string::npos);
    EXPECT_NE(r.Out.find("  Escape HTML in dump text: no\n  Game colour codes: Show as colours\n"
                         "  Page style: Modern\n  Lines to keep: Chat only\n  Write an index page: no\n"
                         "  Player stats: yes\n"),
              std::string::npos)
        << r.Out;
    EXPECT_NE(r.Out.find("Names: 1\n  Name: Bob:\n    Colour: 255 (#FF0000)\n"), std::string::npos) << r.Out;
}

TEST_F(CliEndToEnd, UnreadableOrUnwritableProfile_NamesTheFileAndTheReason)
{
    TCliResult missing = Cli.Run({"convert", "--profile", "missing.cfg", "--dest", "out", "a.txt"});
    EXPECT_EQ(missing.Status, 2);
    EXPECT_NE(missing.Err.find("the profile missing.cfg does not exist; make one with: velmora-cli profile new "
                               "missing.cfg\n"),
              std::string::npos)
        << missing.Err;

    TCliResult folder = Cli.Run({"profile", "show", "out"});
    EXPECT_EQ(folder.Status, 2);
    EXPECT_NE(folder.Err.find("cannot read the profile out: a directory\n"), std::string::npos) << folder.Err;

    TCliResult unwritable = Cli.Run({"profile", "new", "no/such/p.cfg"});
    EXPECT_EQ(unwritable.Status, 1);
    // The profile's own message gives the system's reason, and nothing to delete.
    EXPECT_NE(unwritable.Err.find("Error writing to the configuration file\nUnable to write to no/such/p.cfg: No such "
                                  "file or directory\nThe file on disk was left as it was.\n"),
              std::string::npos)
        << unwritable.Err;
    EXPECT_NE(unwritable.Err.find("cannot write no/such/p.cfg: the folder no/such/ does not exist\n"),
              std::string::npos)
        << unwritable.Err;
}

TEST_F(CliEndToEnd, DamagedProfile_ExitsTwoWithTheReadErrorsCaptionAndText)
{
    std::string good = TempDir::Read(Profile);
    Dir.Write("a.txt", "a\n");
    for (const std::string& bytes : {std::string(), good.substr(0, good.size() - 3), good + "x"}) {
        Dir.Write("damaged.cfg", bytes);
        for (std::vector<std::string> args : {std::vector<std::string>{"profile", "show", "damaged.cfg"},
                                              {"profile", "show", "damaged.cfg", "--json"},
                                              {"convert", "--profile", "damaged.cfg", "--dest", "out", "a.txt"}}) {
            TCliResult r = Cli.Run(args);
            EXPECT_EQ(r.Status, 2) << args[0] << " " << bytes.size();
            EXPECT_EQ(r.Out, "");
            EXPECT_NE(r.Err.find(std::string(ReadErrorCaption) + "\n" + ReadErrorText + "\n" +
                                 "velmora-cli: cannot read the profile damaged.cfg: its contents are damaged\n"),
                      std::string::npos)
                << r.Err;
        }
    }
    EXPECT_FALSE(fs::exists(Path("out/a.htm")));
}

TEST_F(CliEndToEnd, WrongUsage_SaysWhatIsWrongAndPointsToHelp_ExitingTwo)
{
    struct Case {
        std::vector<std::string> Args;
        std::string Said;
    };
    for (const Case& c : {
             Case{{"profile", "shwo", "p.cfg"},
                  "velmora-cli: unknown command \"shwo\" for \"velmora-cli profile\"; did you mean \"show\"?\n"
                  "Run \"velmora-cli profile --help\" for more.\n"},
             Case{{"convert", "--profle", "p.cfg"},
                  "velmora-cli: unknown option \"--profle\" for \"velmora-cli convert\"; did you mean "
                  "\"--profile\"?\nRun \"velmora-cli convert --help\" for more.\n"},
             Case{{"--bogus"}, "velmora-cli: unknown option \"--bogus\" for \"velmora-cli\"\n"
                               "Run \"velmora-cli --help\" for more.\n"},
             Case{{"convert", "--existing", "sometimes"}, "Run \"velmora-cli convert --help\" for more.\n"},
             Case{{"profile", "show"}, "velmora-cli profile show: FILE is required\n"},
             Case{{"profile"}, "Run \"velmora-cli profile --help\" for more.\n"},
             Case{{}, "Usage: velmora-cli"},
         }) {
        TCliResult r = Cli.Run(c.Args);
        EXPECT_EQ(r.Status, 2) << r.Err;
        EXPECT_NE(r.Err.find(c.Said), std::string::npos) << r.Err;
        if (!c.Args.empty()) {
            EXPECT_EQ(r.Err.find("Usage:"), std::string::npos) << "not the whole help: " << r.Err;
        }
    }
}

TEST_F(CliEndToEnd, HelpAndVersion_GoToStandardOutputWithExitZero)
{
    TCliResult help = Cli.Run({"convert", "--help"});
    EXPECT_EQ(help.Status, 0);
    EXPECT_NE(help.Out.find("Exit status"), std::string::npos);
    TCliResult version = Cli.Run({"--version"});
    EXPECT_EQ(version.Status, 0);
    EXPECT_EQ(version.Out, std::string("velmora-cli ") + VELMORA_VERSION + "\n");
}

TEST_F(CliEndToEnd, Stats_TableOfTheDumpsTogether_AnUnreadableDumpSaidAndExitsOne)
{
    Dir.Write("a.txt", "^1Sarge^7: gg all\nDoom^7 was railed by Sarge^7\nEv\x1b[2Jil^7: hi\n");
    Dir.Write("b.log", "  0:01 Kill: 1 2 10: Sarge killed Doom by MOD_RAILGUN\n"
                       "  0:02 Kill: 1022 1 19: <world> killed Sarge by MOD_FALLING\n");
    fs::create_directory(Path("dir.txt"));

    TCliResult r = Cli.Run({"stats", "a.txt", "gone.txt", "dir.txt", "b.log"});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, "velmora-cli: cannot read gone.txt: not found\nvelmora-cli: cannot read dir.txt: a directory\n");
    EXPECT_EQ(r.Out, // a control character of a name is not passed to the terminal
              "Player    Chat  Words  Kills  Deaths  Suicides  Top weapon  Killed most  Killed most by  Earlier names\n"
              "Sarge        1      2      2       1         0  Railgun     Doom (2)\n"
              "Ev?[2Jil     1      1      0       0         0\n"
              "Doom         0      0      0       2         0                           Sarge (2)\n");

    TCliResult none = Cli.Run({"stats", "--json", "dir.txt"});
    EXPECT_EQ(none.Status, 1);
    EXPECT_EQ(json::parse(none.Out), json::parse(R"({"dumps":[],"players":[]})"));
    EXPECT_EQ(Cli.Run({"stats", "a.txt"}).Status, 0);
}

// Every player's kills, deaths and suicides in a real server log, counted
// here from its Kill lines with a pattern of their own, against the counts
// of the program and of velmora-cli stats --json.
TEST_F(CliEndToEnd, Stats_RealServerLog_KillsAndDeathsAreThoseOfItsKillLines)
{
    const std::string log = std::string(VELMORA_SHARED_TESTDATA) + "/q3dumps/q3llm-games.log";
    const std::string bytes = TempDir::Read(log);
    ASSERT_FALSE(bytes.empty()) << "the shared test data is missing: " << log;
    const std::regex kill(R"(^ *\d+:\d\d Kill: (\d+) (\d+) \d+: (.+) killed (.+) by MOD_\w+$)");
    std::map<std::string, std::uint64_t> kills, deaths, suicides;
    TLineClassifier classifier;
    TPlayerStats stats;
    TDumpLineReader reader(bytes);
    std::uint64_t number = 0;
    for (std::string_view view; reader.Next(view);) {
        stats.Add(classifier.Classify(view), ++number);
        const std::string line(view);
        std::smatch m;
        if (!std::regex_match(line, m, kill))
            continue;
        ++deaths[m[4]];
        if (m[1] == m[2])
            ++suicides[m[3]]; // a player's own death is a suicide, not a kill
        else if (m[3] != "<world>")
            ++kills[m[3]];
    }
    ASSERT_EQ(deaths.size(), 7u);

    TCliResult r = Cli.Run({"stats", "--json", log});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const json players = json::parse(r.Out)["players"];
    ASSERT_EQ(players.size(), 7u);
    const std::vector<TPlayerSummary> counted = stats.Players();
    ASSERT_EQ(counted.size(), 7u);
    for (std::size_t k = 0; k < counted.size(); ++k) {
        const std::string name = counted[k].Name;
        EXPECT_EQ(counted[k].Kills, kills[name]) << name;
        EXPECT_EQ(counted[k].Deaths, deaths[name]) << name;
        EXPECT_EQ(counted[k].Suicides, suicides[name]) << name;
        EXPECT_EQ(players[k]["name"], name);
        EXPECT_EQ(players[k]["kills"], kills[name]) << name;
        EXPECT_EQ(players[k]["deaths"], deaths[name]) << name;
        EXPECT_EQ(players[k]["suicides"], suicides[name]) << name;
    }
}

// Without --profile the program directory decides which settings file and
// default profile are used; a copy of the program in the temporary directory
// gives the test a program directory of its own.
TEST_F(CliEndToEnd, Convert_CurrentProfileMissing_SaysSoAndUsesDefaults_WritingNothing)
{
    fs::create_directory(Path("bin"));
    fs::copy_file(TCliProcess::DefaultBinary(), Path("bin/") + CliFileName);
    TCliProcess copy(Dir, Path("bin/") + CliFileName);
    Dir.Write("a.txt", "a\n");

    TCliResult r = copy.Run({"convert", "--dest", "out", "--images", "out", "a.txt"});

    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Err, "velmora-cli: the current profile " + Path("bin/Default.cfg") +
                         " does not exist; converting with default values\n");
    EXPECT_EQ(r.Out, Path("a.txt") + ": Converted -> " + Path("out/a.htm") + "\n");
    EXPECT_FALSE(fs::exists(Path("bin/Default.cfg")));
    EXPECT_FALSE(fs::exists(Path("bin/velmora.ini")));
}

TEST_F(CliEndToEnd, Convert_CurrentProfileMissing_DefaultsComeFromTheSettingsFileWhenItSaysSo)
{
    fs::create_directory(Path("bin"));
    fs::copy_file(TCliProcess::DefaultBinary(), Path("bin/") + CliFileName);
    TCliProcess copy(Dir, Path("bin/") + CliFileName);
    // 0x102030 is red 30, green 20, blue 10.
    Dir.Write("bin/velmora.ini", "[Defaults storage]\nUse ini defaults=1\n[Defaults]\nHTML Background=1056816\n");
    Dir.Write("a.txt", "a\n");

    TCliResult r = copy.Run({"convert", "--dest", "out", "--images", "out", "a.txt"});

    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_NE(TempDir::Read(Path("out/a.htm")).find("<BODY BGCOLOR=\"#302010\""), std::string::npos);
}

TEST_F(CliEndToEnd, Convert_CurrentProfileFromSettingsFile_IsUsed)
{
    fs::create_directory(Path("bin"));
    fs::copy_file(TCliProcess::DefaultBinary(), Path("bin/") + CliFileName);
    TCliProcess copy(Dir, Path("bin/") + CliFileName);
    WriteProfile("current.cfg", [](THighlightProfile& p) { p.HTMLOptions().SetTitle("From the current profile"); });
    std::string ini = "[Profiles]\r\nProfile #0=" + Path("current.cfg") + "\r\n";
    Dir.Write("bin/velmora.ini", ini);
    Dir.Write("a.txt", "a\n");

    TCliResult r = copy.Run({"convert", "--dest", "out", "--images", "out", "a.txt"});

    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Err, "");
    EXPECT_NE(TempDir::Read(Path("out/a.htm")).find("<TITLE>From the current profile</TITLE>"), std::string::npos);
    EXPECT_EQ(TempDir::Read(Path("bin/velmora.ini")), ini);
}

#ifndef _WIN32
// The overwrite question needs a terminal on standard input: a pseudo-terminal
// stands in for the user's (POSIX only).
class CliOnTerminal : public CliEndToEnd {
protected:
    CliOnTerminal()
    {
        Master = posix_openpt(O_RDWR | O_NOCTTY);
        if (Master < 0 || grantpt(Master) != 0 || unlockpt(Master) != 0)
            throw std::runtime_error("no pseudo-terminal");
        Slave = open(ptsname(Master), O_RDWR | O_NOCTTY);
        if (Slave < 0)
            throw std::runtime_error("cannot open the pseudo-terminal");
        Dir.Write("a.txt", "new a\n");
        Dir.Write("b.txt", "new b\n");
        Dir.Write("out/a.htm", "old a");
        Dir.Write("out/b.htm", "old b");
    }
    ~CliOnTerminal() override
    {
        close(Slave);
        close(Master);
    }
    pid_t StartAsking()
    {
        pid_t pid = Cli.Start({"convert", "--profile", Profile, "--dest", "out", "--images", "out", "--existing",
                               "ask", "a.txt", "b.txt"},
                              Slave);
        EXPECT_TRUE(Cli.WaitForErr("Do you want to replace the existing file?"));
        return pid;
    }
    void Answer(const std::string& line) { ASSERT_EQ(write(Master, line.data(), line.size()), static_cast<ssize_t>(line.size())); }
    static int Count(const std::string& text, const std::string& part)
    {
        int n = 0;
        for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++n;
        return n;
    }

    int Master = -1;
    int Slave = -1;
};

TEST_F(CliOnTerminal, AskExisting_AnswersNoThenYes)
{
    pid_t pid = StartAsking();
    Answer("maybe\nn\n");
    ASSERT_TRUE(Cli.WaitForErr("Do you want to replace the existing file?\n" + Path("out/a.htm") +
                               "\n[y]es, [n]o, [na] no to all, [ya] yes to all: "
                               "Do you want to replace the existing file?")); // "maybe" asked again
    Answer("y\n");

    EXPECT_EQ(TCliProcess::Wait(pid), 0) << "a file skipped by the answer is no failure";
    EXPECT_EQ(Cli.OutText(), Path("a.txt") + ": Not converted. Skipped existing file\n" + Path("b.txt") +
                                 ": Converted. Overwritten existing file -> " + Path("out/b.htm") + "\n");
    EXPECT_EQ(TempDir::Read(Path("out/a.htm")), "old a");
}

TEST_F(CliOnTerminal, AskExisting_YesToAll_OverwritesTheRestWithoutAsking)
{
    pid_t pid = StartAsking();
    Answer("yes to all\n");

    EXPECT_EQ(TCliProcess::Wait(pid), 0) << Cli.ErrText();
    EXPECT_EQ(Count(Cli.ErrText(), "Do you want to replace"), 1);
    EXPECT_EQ(Count(Cli.OutText(), "Converted. Overwritten existing file"), 2);
}

TEST_F(CliOnTerminal, CtrlCWhileAsking_CancelsThatFileAndStartsNoOther)
{
    pid_t pid = StartAsking();
    kill(pid, SIGINT);

    EXPECT_EQ(TCliProcess::Wait(pid), 130);
    EXPECT_EQ(Cli.OutText(), Path("a.txt") + ": Canceled by user\n");
    EXPECT_NE(Cli.ErrText().find("\nCanceled by user\n"), std::string::npos) << Cli.ErrText();
    EXPECT_EQ(TempDir::Read(Path("out/a.htm")), "old a");
    EXPECT_EQ(TempDir::Read(Path("out/b.htm")), "old b");
}

#endif

} // namespace
} // namespace velmora::test
