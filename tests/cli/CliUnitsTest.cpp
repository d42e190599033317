// The pieces of velmora-cli on their own: overwrite answers, message text on a
// terminal, the list view and progress stand-ins, the JSON mapping and Ctrl-C.
#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif
#include <nlohmann/json.hpp>

#include "cli/UInterrupt.h"
#include "cli/UManualPage.h"
#include "cli/UProfileJson.h"
#include "cli/UTerminalControls.h"
#include "cli/UTerminalDialogs.h"
#include "settings/UHighLighter.h"
#include "support/FakeControls.h"

using nlohmann::json;

namespace velmora::cli {
namespace {

TEST(ParseOverwriteAnswer, AcceptsWordsAndShortFormsInAnyCase)
{
    struct Case {
        const char* Line;
        std::optional<TOverwriteAnswer> Answer;
    };
    const Case cases[] = {
        {"y", TOverwriteAnswer::Yes},          {" YES ", TOverwriteAnswer::Yes},
        {"n", TOverwriteAnswer::No},           {"No\r", TOverwriteAnswer::No},
        {"na", TOverwriteAnswer::NoToAll},     {"no  to\tall", TOverwriteAnswer::NoToAll},
        {"YA", TOverwriteAnswer::YesToAll},    {"yes to all", TOverwriteAnswer::YesToAll},
        {"", std::nullopt},                    {"yess", std::nullopt},
        {"no to", std::nullopt},               {"all", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseOverwriteAnswer(c.Line), c.Answer) << '"' << c.Line << '"';
}

TEST(TerminalMessageBoxes, WithoutATerminal_QuestionsCountAsUnanswered_MessagesShowCaptionAndText)
{
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    TTerminalMessageBoxes boxes(out, -1, false);
    int cleared = 0;
    boxes.SetBeforeOutput([&cleared] { ++cleared; });

    EXPECT_EQ(boxes.AskOverwrite("Do you want to replace the existing file?"), TOverwriteAnswer::Closed);
    EXPECT_FALSE(boxes.AskYesNo("Caption", "Sure?"));
    EXPECT_EQ(boxes.AskYesNoCancel("Caption", "Sure?"), TYesNoCancel::Cancel);
    boxes.ShowMessage("Caption", "one\rtwo", TMsgIcon::Error);

    std::rewind(out);
    char buffer[64] = {};
    std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, out);
    std::fclose(out);
    EXPECT_EQ(std::string(buffer, n), "Caption\none\ntwo\n");
    EXPECT_EQ(cleared, 1);
}

TEST(TerminalListView, ReportsStatusesSetOutsideAnUpdateBracketOnly)
{
    TTerminalListView view;
    std::vector<std::string> reported;
    view.SetOnStatus([&reported](int row, const std::string& text) { reported.push_back(std::to_string(row) + text); });
    view.AddRow("/a");
    view.AddRow("/b");

    // A reset of the status column, as at the start of a run: nothing to report.
    view.BeginUpdate();
    view.AddSubItem(0, "Ready");
    view.SetFirstSubItem(1, "Ready");
    view.EndUpdate();
    EXPECT_TRUE(reported.empty());

    view.SetFirstSubItem(1, "Converted");
    view.SetFirstSubItem(5, "out of range");
    EXPECT_EQ(reported, std::vector<std::string>{"1Converted"});
    EXPECT_EQ(view.Status(0), "Ready");
    EXPECT_EQ(view.Status(1), "Converted");
}

TEST(TerminalProgress, RedrawsOnlyWhenAShownFigureChanges_AndNotAtAllWhenDisabled)
{
    for (bool enabled : {true, false}) {
        std::FILE* out = std::tmpfile();
        ASSERT_NE(out, nullptr);
        {
            TTerminalProgress progress(out, enabled);
            progress.TotalBar().SetMax(2);
            progress.FileBar().SetMax(1000);
            for (int i = 0; i < 1000; ++i)
                progress.FileBar().StepIt();
        }
        std::fseek(out, 0, SEEK_END);
        long size = std::ftell(out);
        std::string text(static_cast<std::size_t>(size), '\0');
        std::rewind(out);
        std::size_t n = std::fread(text.data(), 1, text.size(), out);
        std::fclose(out);
        text.resize(n);
        std::size_t draws = 0;
        for (std::size_t at = text.find("Total ["); at != std::string::npos; at = text.find("Total [", at + 1))
            ++draws;
        if (enabled) {
            // One drawing per whole percent (0 to 100) and one for the new maximum, not one per line.
            EXPECT_LE(draws, 103u);
            EXPECT_GE(draws, 100u);
            EXPECT_EQ(text.substr(text.size() - 4), "\r\033[K") << "the line is taken off at the end";
        } else {
            EXPECT_EQ(text, "");
        }
    }
}

TEST(TerminalProgress, Render_ShowsFilesDoneAndThePercentOfTheCurrentFile)
{
    EXPECT_EQ(TTerminalProgress::Render(1, 4, 50),
              "Total [#####---------------] 1/4  Current file [##########----------] 50%");
    EXPECT_EQ(TTerminalProgress::Render(0, 0, 0),
              "Total [--------------------] 0/0  Current file [--------------------] 0%");
}

TEST(RoffFromHelpText, ParagraphsListsShownLinesAndHeadings)
{
    const std::string text = "\nUse -q.\n.cfg files\n\nExit status:\n  0    done\n       at last\n  130  stopped\n"
                             "Output: a line:\n  PATH: TEXT\nthen more\n";
    EXPECT_EQ(RoffFromHelpText(text, true), ".PP\nUse \\-q.\n\\&.cfg files\n"
                                            ".SH EXIT STATUS\n.TP\n\\fB0\\fR\ndone\nat last\n.TP\n\\fB130\\fR\nstopped\n"
                                            ".PP\nOutput: a line:\n.RS\n.nf\nPATH: TEXT\n.fi\n.RE\nthen more\n");
    // Inside a command's part of the page a heading is a bold line.
    EXPECT_EQ(RoffFromHelpText("Keys:\n  a  b\n", false), ".PP\n\\fBKeys:\\fR\n.TP\n\\fBa\\fR\nb\n");
}

class ProfileJson : public ::testing::Test {
protected:
    ProfileJson() : Profile(nullptr, TPlatform{nullptr, &Boxes, "/prog/"}) {}
    test::FakeMessageBoxes Boxes;
    THighlightProfile Profile;
};

std::string ColorError(const std::string& key)
{
    return key + R"(: expected "#RRGGBB", a system colour such as "system:windowText", or a colour value)";
}

TEST_F(ProfileJson, ErrorsNameTheKey)
{
    struct Case {
        const char* Json;
        std::string Message;
    };
    const Case cases[] = {
        {R"([])", "the JSON text: expected an object"},
        {R"({"colours": {}})", "colours: unknown key"},
        {R"({"html": []})", "html: expected an object"},
        {R"({"html": {"textColor": "red"}})", ColorError("html.textColor")},
        {R"({"html": {"textColor": "#12345"}})", ColorError("html.textColor")},
        {R"({"html": {"textColor": "system:nothing"}})", ColorError("html.textColor")},
        {R"({"html": {"textColor": 2.5}})", ColorError("html.textColor")},
        {R"({"html": {"linkColor": 16777216}})", ColorError("html.linkColor")}, // would be black in a page
        {R"({"html": {"linkColor": -16777191}})", ColorError("html.linkColor")}, // system colour 25: none
        {R"({"html": {"linkColor": -2147483649}})", ColorError("html.linkColor")},
        {R"({"app": {"ignoreCase": "yes"}})", "app.ignoreCase: expected true or false"},
        {R"({"app": {"caseSensitive": false}})",
         R"(app.caseSensitive: no longer accepted, as true meant ignoring case; use "ignoreCase" (true: highlighting ignores letter case))"},
        {R"({"io": {"files": "/a.txt"}})", "io.files: expected an array of strings"},
        {R"({"io": {"files": ["/a", 3]}})", "io.files[1]: expected a string"},
        {R"({"io": {"destDir": null}})", "io.destDir: expected a string"},
        {R"({"names": {"name": "x"}})", "names: expected an array of objects"},
        {R"({"names": [{"name": "x"}, "y"]})", "names[1]: expected an object"},
        {R"({"names": [{"name": "x", "colour": 1}]})", "names[0].colour: unknown key"},
    };
    for (const Case& c : cases) {
        try {
            ApplyProfileJson(json::parse(c.Json), Profile);
            ADD_FAILURE() << "accepted " << c.Json;
        } catch (const EProfileJsonError& e) {
            EXPECT_EQ(std::string(e.what()), c.Message) << c.Json;
        }
    }
}

TEST_F(ProfileJson, NamesGoThroughAddName_SoNamesEqualIgnoringCaseMerge)
{
    ApplyProfileJson(json::parse(R"({"names": [{"name": "Bob", "color": 1}, {"name": "eve"},
                                               {"name": "BOB", "imageFile": "/b.gif"}]})"),
                     Profile);

    json names = ProfileToJson(Profile)["names"];
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0], (json{{"name", "BOB"}, {"color", "#FFFFFF"}, {"imageFile", "/b.gif"},
                              {"htmlBefore", ""}, {"htmlAfter", ""}}));
    EXPECT_EQ(names[1]["name"], "eve");
    EXPECT_EQ(names[1]["color"], "#FFFFFF"); // the default text colour
}

TEST_F(ProfileJson, SkipExistingGoesThroughItsSetterWithoutTouchingPrompt)
{
    ApplyProfileJson(json::parse(R"({"io": {"skipExisting": false}})"), Profile);
    EXPECT_FALSE(Profile.IOOptions().FSkipExisting);
    EXPECT_TRUE(Profile.IOOptions().FPromptOnOverwrite);
}

#ifndef _WIN32 // Windows hands Ctrl-C to a console handler, not as a signal.
TEST(InterruptGuard, RecordsCtrlC_AndPutsThePreviousHandlerBack)
{
    static volatile std::sig_atomic_t outerCalls = 0;
    auto previous = std::signal(SIGINT, [](int) { outerCalls = outerCalls + 1; });
    {
        TInterruptGuard guard;
        EXPECT_FALSE(guard.Requested());
        std::raise(SIGINT);
        EXPECT_TRUE(guard.Requested());
        EXPECT_EQ(outerCalls, 0);
    }
    {
        TInterruptGuard fresh;
        EXPECT_FALSE(fresh.Requested()) << "a new run starts without the old request";
    }
    std::raise(SIGINT);
    EXPECT_EQ(outerCalls, 1);
    std::signal(SIGINT, previous);
}

TEST(InterruptGuard, SigtermStopsLikeCtrlC_AndASecondSignalEndsTheProgram)
{
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TInterruptGuard guard;
        std::raise(SIGTERM);
        if (guard.Signal() != SIGTERM)
            _exit(3);
        std::raise(SIGINT);
        _exit(4); // not reached when the second signal ends the program
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), SIGINT);
}
#endif

} // namespace
} // namespace velmora::cli
