// The batch run: per-file decisions with a scripted overwrite question, the
// statuses and the run's result, stopping, progress and the options after a run.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "EngineSetup.h"
#include "platform/UPaths.h"
#include "support/ChildProcess.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using test::Page;
using test::TEngineSetup;
using test::TempDir;
using A = TOverwriteAnswer;

class ConvertRun : public ::testing::Test {
protected:
    // Lists n dumps d1.txt .. dn.txt; with existing set, each already has a page.
    void MakeDumps(int n, bool existing)
    {
        std::vector<std::string> paths;
        for (int k = 1; k <= n; ++k) {
            paths.push_back(S.Dump("d" + std::to_string(k) + ".txt", "line of d" + std::to_string(k) + "\n"));
            if (existing)
                S.Dir.Write("out/d" + std::to_string(k) + ".htm", "old page");
        }
        S.List(paths);
    }

    std::vector<int> Codes() const
    {
        std::vector<int> codes;
        for (const TFileItem& item : S.IO.FFiles)
            codes.push_back(item.Status ? item.Status->Status : -1);
        return codes;
    }

    std::string PageTextOf(const std::string& name) const { return TempDir::Read(S.Out(name)); }
    std::string PageText(int k) const { return PageTextOf("d" + std::to_string(k) + ".htm"); }
    bool Replaced(int k) const { return PageText(k).find("line of d" + std::to_string(k)) != std::string::npos; }

    bool Run()
    {
        Message = "untouched";
        return S.Engine.Convert(Message);
    }

    TEngineSetup S;
    std::string Message;
};

TEST_F(ConvertRun, NewPagesAreConverted)
{
    MakeDumps(2, false);
    EXPECT_TRUE(Run());
    EXPECT_EQ(Message, "untouched");
    EXPECT_EQ(Codes(), (std::vector<int>{1, 1}));
    EXPECT_EQ(S.ListView.Statuses(), (std::vector<std::string>{"Converted", "Converted"}));
    EXPECT_TRUE(Replaced(1) && Replaced(2));
    EXPECT_TRUE(S.Boxes.Questions.empty());
    EXPECT_EQ(S.TotalBar.Max(), 2);
    EXPECT_EQ(S.TotalBar.Steps, 2);
    EXPECT_EQ(S.TotalBar.Position(), 0);
    EXPECT_EQ(S.FileBar.Max(), 8); // the last page: 8 header items and one line, minus 1
    EXPECT_EQ(S.FileBar.Position(), 0);
    EXPECT_EQ(S.PumpCalls, 2);
}

TEST_F(ConvertRun, EmptyListDoesNothing)
{
    S.IO.SetDestDir(S.Dir.File("out"));
    EXPECT_TRUE(Run());
    EXPECT_EQ(Message, "untouched");
    EXPECT_EQ(S.IO.FDestDir, S.Dir.File("out") + PathDelim) << "the paths are still prepared";
    EXPECT_EQ(S.TotalBar.Max(), 100);
    EXPECT_EQ(S.PumpCalls, 0);
}

TEST_F(ConvertRun, MissingOptionGroupsMakeANoOp)
{
    MakeDumps(1, false);
    S.IO.SetFileStatus(0, StatusCode::ReadError);
    TConvertClass engine(&S.Boxes, {});
    engine.SetOptions(nullptr, nullptr, &S.IO, &S.Names);
    std::string message = "untouched";
    EXPECT_TRUE(engine.Convert(message));
    EXPECT_EQ(message, "untouched");
    EXPECT_EQ(Codes(), (std::vector<int>{4}));
    EXPECT_EQ(S.ListView.Statuses(), (std::vector<std::string>{"Ready"}));
    EXPECT_FALSE(fs::exists(S.Out("d1.htm")));

    TConvertClass bare(nullptr, {});
    EXPECT_TRUE(bare.Convert(message));
}

struct TEmptyDirCase {
    const char* Name;
    bool EmptyDest;
    const char* Message;
};

void PrintTo(const TEmptyDirCase& c, std::ostream* os) { *os << c.Name; }

class ConvertRefusal : public ::testing::TestWithParam<TEmptyDirCase> {};

TEST_P(ConvertRefusal, EmptyDirectoryRefusesAndChangesNothing)
{
    TEngineSetup s;
    s.IO.AddFiles({s.Dump("d1.txt", "x\n")});
    s.IO.SetFileStatus(0, StatusCode::Converted);
    // The other directory lacks its separator, which a started run would add.
    if (GetParam().EmptyDest) {
        s.IO.FDestDir.clear();
        s.IO.FDestImgDir = s.Dir.File("img");
    } else {
        s.IO.FDestDir = s.Dir.File("out");
        s.IO.FDestImgDir.clear();
    }
    s.Html.FBackImage = "\"/p/back.jpg\"";
    const std::string dest = s.IO.FDestDir;
    const std::string img = s.IO.FDestImgDir;
    std::string message;
    EXPECT_FALSE(s.Engine.Convert(message));
    EXPECT_EQ(message, GetParam().Message);
    EXPECT_EQ(s.IO.FDestDir, dest);
    EXPECT_EQ(s.IO.FDestImgDir, img);
    EXPECT_EQ(s.Html.FBackImage, "\"/p/back.jpg\"");
    EXPECT_EQ(s.ListView.Statuses(), (std::vector<std::string>{"Converted"}));
    EXPECT_EQ(s.IO.FFiles[0].Status->Status, StatusCode::Converted);
    EXPECT_EQ(s.PumpCalls, 0);
}

INSTANTIATE_TEST_SUITE_P(Dirs, ConvertRefusal,
                         ::testing::Values(TEmptyDirCase{"Destination", true, "No destination directory is set"},
                                           TEmptyDirCase{"Images", false, "No images directory is set"}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ConvertRun, MissingOutputDirectoriesAreMadeFirstOrTheRunStopsBeforeTheFirstFile)
{
    MakeDumps(1, false);
    const std::string icon = S.Dir.Write("icon.gif", "GIF89a");
    S.AddName("line", 0xFF, icon);
    std::vector<std::string> made;
    S.Engine.SetOnDirectoryCreated([&](const std::string& what, const std::string& dir) { made.push_back(what + " " + dir); });
    const std::string pages = S.Dir.File("site/pages/"), images = S.Dir.File("site/img/");
    S.IO.SetDestDir(pages);
    S.IO.SetDestImgDir(images);
    EXPECT_TRUE(Run());
    EXPECT_EQ(made, (std::vector<std::string>{"destination " + pages, "images " + images}));
    EXPECT_TRUE(fs::is_regular_file(pages + "d1.htm"));
    EXPECT_TRUE(fs::is_regular_file(images + "icon.gif"));

    // A file where the images directory should be: no file is started, and the message says why.
    made.clear();
    S.Dir.Write("taken", "");
    S.IO.SetDestDir(S.Dir.File("other/"));
    S.IO.SetDestImgDir(S.Dir.File("taken/"));
    EXPECT_FALSE(Run());
    EXPECT_EQ(Message, "Cannot create the images directory " + S.Dir.File("taken/") + ": Not a directory");
    EXPECT_EQ(made, std::vector<std::string>{"destination " + S.Dir.File("other/")});
    EXPECT_FALSE(fs::exists(S.Dir.File("other/d1.htm")));
    EXPECT_EQ(S.ListView.Statuses(), std::vector<std::string>{"Ready"});
    EXPECT_EQ(S.PumpCalls, 1) << "only the first run reached its file";
}

TEST_F(ConvertRun, SkipExistingLeavesPagesAlone)
{
    MakeDumps(2, true);
    S.IO.FSkipExisting = true;
    S.IO.FPromptOnOverwrite = true;
    EXPECT_FALSE(Run());
    EXPECT_EQ(Message, "One or more files were not converted");
    EXPECT_EQ(Codes(), (std::vector<int>{5, 5}));
    EXPECT_EQ(PageText(1), "old page");
    EXPECT_TRUE(S.Boxes.Questions.empty());
}

TEST_F(ConvertRun, OverwriteWithoutPrompt)
{
    MakeDumps(1, true);
    S.IO.FSkipExisting = false;
    S.IO.FPromptOnOverwrite = false;
    EXPECT_TRUE(Run());
    EXPECT_EQ(Codes(), (std::vector<int>{2}));
    EXPECT_TRUE(Replaced(1));
    EXPECT_EQ(S.ListView.Statuses(), (std::vector<std::string>{"Converted. Overwritten existing file"}));
}

struct TAnswerCase {
    const char* Name;
    A Answer;
    int Code;
    bool Replaced;
};

void PrintTo(const TAnswerCase& c, std::ostream* os) { *os << c.Name; }

class OverwriteAnswer : public ConvertRun, public ::testing::WithParamInterface<TAnswerCase> {};

TEST_P(OverwriteAnswer, DecidesOneFile)
{
    MakeDumps(1, true);
    S.IO.FSkipExisting = false;
    S.Boxes.OverwriteAnswers = {GetParam().Answer};
    EXPECT_EQ(Run(), GetParam().Code == 2);
    // The page in question on a line of its own.
    EXPECT_EQ(S.Boxes.Questions, (std::vector<std::string>{"Do you want to replace the existing file?\r" + S.Out("d1.htm")}));
    EXPECT_EQ(Codes(), (std::vector<int>{GetParam().Code}));
    EXPECT_EQ(Replaced(1), GetParam().Replaced);
}

INSTANTIATE_TEST_SUITE_P(Answers, OverwriteAnswer,
                         ::testing::Values(TAnswerCase{"Yes", A::Yes, 2, true}, TAnswerCase{"No", A::No, 3, false},
                                           TAnswerCase{"Closed", A::Closed, 3, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ConvertRun, NoMessageBoxesCountsAsClosedQuestion)
{
    MakeDumps(1, true);
    S.IO.FSkipExisting = false;
    TConvertClass engine(nullptr, {});
    engine.SetOptions(&S.Html, &S.App, &S.IO, &S.Names);
    std::string message;
    EXPECT_FALSE(engine.Convert(message));
    EXPECT_EQ(Codes(), (std::vector<int>{3}));
    EXPECT_EQ(PageText(1), "old page");
}

TEST_F(ConvertRun, NoToAllOnSecondOfFourSkipsTheRest)
{
    MakeDumps(4, true);
    S.IO.SetSkipExisting(false);
    S.Boxes.OverwriteAnswers = {A::Yes, A::NoToAll};
    EXPECT_FALSE(Run());
    EXPECT_EQ(Message, "One or more files were not converted");
    EXPECT_EQ(Codes(), (std::vector<int>{2, 3, 5, 5}));
    EXPECT_EQ(S.Boxes.Questions.size(), 2u);
    EXPECT_TRUE(Replaced(1));
    EXPECT_EQ(PageText(4), "old page");
    // The answer lasted for this run only; the check boxes show the old state again.
    EXPECT_FALSE(S.IO.FSkipExisting);
    EXPECT_FALSE(S.SkipCheck.Checked);
    EXPECT_TRUE(S.PromptCheck.Enabled);
}

TEST_F(ConvertRun, YesToAllOverwritesTheRestWithoutQuestions)
{
    MakeDumps(3, true);
    S.IO.SetSkipExisting(false);
    S.IO.SetPromptOnOverwrite(true);
    S.Boxes.OverwriteAnswers = {A::YesToAll};
    EXPECT_TRUE(Run());
    EXPECT_EQ(Message, "untouched");
    EXPECT_EQ(Codes(), (std::vector<int>{2, 2, 2}));
    EXPECT_EQ(S.Boxes.Questions.size(), 1u);
    EXPECT_TRUE(Replaced(3));
    EXPECT_TRUE(S.IO.FPromptOnOverwrite);
    EXPECT_TRUE(S.PromptCheck.Checked);
}

TEST_F(ConvertRun, StopDuringThirdOfFive)
{
    MakeDumps(5, false);
    S.IO.SetFileStatus(3, StatusCode::Converted);
    S.IO.SetFileStatus(4, StatusCode::ReadError);
    S.OnPump = [&](int call) {
        if (call == 3)
            S.Engine.Stop();
    };
    EXPECT_FALSE(Run());
    EXPECT_EQ(Message, "Canceled by user");
    EXPECT_EQ(Codes(), (std::vector<int>{1, 1, 8, 1, 4}));
    EXPECT_EQ(S.ListView.Statuses(),
              (std::vector<std::string>{"Converted", "Converted", "Canceled by user", "Ready", "Ready"}));
    // The third page was begun, so it is saved: its line as read, without "<BR>".
    EXPECT_EQ(PageText(3), Page({R"(<HTML><META name="author" content="">)",
                                 "<TITLE>Quake 3 Arena Console Dump</TITLE></HEAD>", R"(<BODY BGCOLOR="#400040")",
                                 R"(TEXT="#FFFFFF")", R"(LINK="#FFFF00")", R"(VLINK="#0000FF")",
                                 R"(BACKGROUND=""><BR>)", "<BR>", "line of d3", "<BR>",
                                 "<!-- Created by Velmora -->", "</BODY> </HTML>"}));
    EXPECT_FALSE(fs::exists(S.Out("d4.htm")));
    EXPECT_EQ(S.TotalBar.Max(), 5);
    EXPECT_EQ(S.TotalBar.Steps, 3);
    EXPECT_EQ(S.TotalBar.Position(), 0);

    // A stop does not carry over to the next run.
    S.OnPump = nullptr;
    S.IO.SetSkipExisting(false);
    S.IO.SetPromptOnOverwrite(false);
    EXPECT_TRUE(Run());
    EXPECT_EQ(Codes(), (std::vector<int>{2, 2, 2, 1, 1}));
}

TEST_F(ConvertRun, FailedFileMakesTheRunFail)
{
    MakeDumps(4, false);
    S.Dir.Write("out/d3.htm", "old page");
    fs::remove(S.Dir.File("src/d1.txt"));
    fs::create_directory(S.Out("d4.htm")); // read, but the page cannot be saved there
    S.IO.FSkipExisting = false;
    S.IO.FPromptOnOverwrite = false;
    EXPECT_FALSE(Run());
    EXPECT_EQ(Message, "One or more files were not converted");
    EXPECT_EQ(Codes(), (std::vector<int>{4, 1, 2, 6}));
    EXPECT_EQ(S.ListView.Statuses()[0], "Error reading source file");
    EXPECT_EQ(S.ListView.Statuses()[3], "Not converted. Error writing to output file");
}

TEST_F(ConvertRun, DumpInDestinationIsNeverItsOwnPage)
{
    std::string dump = S.Dir.Write("out/chat.htm", "Ann: my only copy\n");
    S.List({dump});
    S.IO.FSkipExisting = false;
    S.IO.FPromptOnOverwrite = false;
    EXPECT_FALSE(Run());
    EXPECT_EQ(Codes(), (std::vector<int>{6}));
    EXPECT_EQ(S.ListView.Statuses(), (std::vector<std::string>{"Not converted. Error writing to output file"}));
    EXPECT_EQ(TempDir::Read(dump), "Ann: my only copy\n");
}

#ifndef _WIN32 // symbolic links need a privilege on Windows
TEST_F(ConvertRun, NoPageOrImageCopyReplacesADumpOfTheRun)
{
    // A page whose path is another listed dump, reached directly or through a link.
    fs::create_directories(S.Dir.File("src/a"));
    fs::create_directories(S.Dir.File("icons"));
    std::string other = S.Dir.Write("out/b.htm", "Ann: the other dump\n");
    fs::create_symlink(other, S.Out("c.htm"));
    // An icon named like a dump, copied into the dumps' own folder.
    S.AddName("Ann", 0, S.Dir.Write("icons/d.txt", "GIF89a"));
    S.IO.SetDestImgDir(S.Dir.File("src/"));
    S.List({S.Dump("b.txt", "Ann: b\n"), S.Dump("a/c.txt", "c\n"), other, S.Dump("d.txt", "Ann: d\n")});
    S.IO.FSkipExisting = false;
    S.IO.FPromptOnOverwrite = false;
    EXPECT_FALSE(Run());
    EXPECT_EQ(TempDir::Read(other), "Ann: the other dump\n");
    EXPECT_TRUE(fs::is_symlink(S.Out("c.htm")));
    EXPECT_EQ(TempDir::Read(S.Dir.File("src/d.txt")), "Ann: d\n");
    EXPECT_NE(TempDir::Read(S.Out("d.htm")).find("Ann: d"), std::string::npos);
    // In list order: out/b.htm (its page is itself), src/a/c.txt, src/b.txt, src/d.txt.
    EXPECT_EQ(Codes(), (std::vector<int>{6, 6, 6, 1}));
}
#endif

#ifndef _WIN32 // symbolic links need a privilege on Windows
TEST_F(ConvertRun, LinksPlantedInTheOutputFoldersAreReplacedNeverWrittenThrough)
{
    fs::create_directories(S.Dir.File("outside"));
    fs::create_directories(S.Dir.File("out/img"));
    const std::string victim = S.Dir.Write("outside/victim.txt", "victim");
    const std::string victim2 = S.Dir.Write("outside/victim2.txt", "victim2");
    fs::create_symlink("../outside/victim.txt", S.Out("chat.htm"));
    fs::create_symlink("../../outside/victim2.txt", S.Dir.File("out/img/icon.gif"));
    S.IO.SetDestImgDir(S.Dir.File("out/img/"));
    S.AddName("Ann", 0, S.Dump("icon.gif", "GIF89a"));
    S.List({S.Dump("chat.txt", "Ann: hi\n")});
    S.IO.FSkipExisting = false;
    S.IO.FPromptOnOverwrite = false;
    EXPECT_TRUE(Run());
    EXPECT_EQ(Codes(), (std::vector<int>{2}));
    EXPECT_EQ(TempDir::Read(victim), "victim");
    EXPECT_EQ(TempDir::Read(victim2), "victim2");
    EXPECT_FALSE(fs::is_symlink(S.Out("chat.htm")));
    EXPECT_NE(PageTextOf("chat.htm").find("Ann: hi"), std::string::npos);
    EXPECT_FALSE(fs::is_symlink(S.Dir.File("out/img/icon.gif")));
    EXPECT_EQ(TempDir::Read(S.Dir.File("out/img/icon.gif")), "GIF89a");
}

TEST_F(ConvertRun, NamedPipeInTheListIsAReadErrorWithoutWaiting)
{
    const std::string pipe = S.Dir.File("src/pipe.txt");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    S.List({pipe});
    int status = test::RunInChild([&] {
        Run();
        return S.ListView.Statuses() == std::vector<std::string>{"Error reading source file"} ? 0 : 1;
    });
    EXPECT_EQ(status, 0) << (status < 0 ? "the run waited" : "wrong status");
}

TEST_F(ConvertRun, RunRemovesTemporaryFilesThatEndedProcessesLeftInItsFolders)
{
    MakeDumps(1, false);
    fs::create_directories(S.Dir.File("out/img"));
    S.IO.SetDestImgDir(S.Dir.File("out/img/"));
    const std::string name = ".velmora-" + std::to_string(test::EndedProcessId()) + "-0.tmp";
    S.Dir.Write("out/" + name, "half a page");
    S.Dir.Write("out/img/" + name, "half an image");
    EXPECT_TRUE(Run());
    EXPECT_FALSE(fs::exists(S.Out(name)));
    EXPECT_FALSE(fs::exists(S.Dir.File("out/img/" + name)));
}
#endif

TEST_F(ConvertRun, LaterFileOfTheSameNameNeverReplacesAPageOfTheRun)
{
    // In list order: src/b/log.dmp, src/log.log, src/log.txt, all giving log.htm.
    fs::create_directories(S.Dir.File("src/b"));
    S.List({S.Dump("log.log", "second\n"), S.Dump("log.txt", "third\n"), S.Dump("b/log.dmp", "first\n")});
    // Whatever the options say about existing files, and without asking.
    for (bool skip : {false, true}) {
        for (bool prompt : {false, true}) {
            fs::remove(S.Out("log.htm"));
            S.IO.FSkipExisting = skip;
            S.IO.FPromptOnOverwrite = prompt;
            S.Boxes.OverwriteAnswers = {A::Yes, A::Yes};
            EXPECT_FALSE(Run());
            EXPECT_EQ(Codes(), (std::vector<int>{1, 6, 6})) << skip << prompt;
            EXPECT_NE(PageTextOf("log.htm").find("first"), std::string::npos) << skip << prompt;
        }
    }
    EXPECT_TRUE(S.Boxes.Questions.empty());
}

TEST_F(ConvertRun, PreparesPathsBeforeTheRun)
{
    MakeDumps(1, false);
    S.IO.SetDestDir(S.Dir.File("out"));
    S.IO.SetDestImgDir(S.Dir.File("out"));
    S.Html.FBackImage = "\"" + S.Dump("back.jpg", "JPEG") + "\"";
    S.AddName("Ann", 0, "\"/icons/ann.gif\"");
    S.AddName("Bob", 0, "\"/icons/bob.gif");
    S.AddName("Cid", 0, "\"");
    EXPECT_TRUE(Run());
    EXPECT_EQ(S.IO.FDestDir, S.Dir.File("out") + PathDelim);
    EXPECT_EQ(S.DestEdit.Text, S.Dir.File("out") + PathDelim);
    EXPECT_EQ(S.ImgEdit.Text, S.Dir.File("out") + PathDelim);
    EXPECT_EQ(S.Html.FBackImage, S.Dir.File("src/back.jpg"));
    EXPECT_EQ(S.Names[0].Info->FImageFile, "/icons/ann.gif");
    EXPECT_EQ(S.Names[1].Info->FImageFile, "\"/icons/bob.gif");
    EXPECT_EQ(S.Names[2].Info->FImageFile, "");
    EXPECT_EQ(TempDir::Read(S.Out("back.jpg")), "JPEG");
}

TEST_F(ConvertRun, ImageReferencesRelativeOrAbsolute)
{
    for (bool relative : {true, false}) {
        TEngineSetup s;
        s.IO.AddFiles({s.Dump("d1.txt", "Ann: hi\n")});
        s.IO.SetDestImgDir(s.Dir.File("out/img/"));
        fs::create_directories(s.Dir.File("out/img"));
        s.Html.FRelImages = relative;
        s.Html.FBackImage = s.Dump("back.jpg", "JPEG");
        s.AddName("Ann", 0x0000FF, s.Dump("red.gif", "GIF"));
        std::string message;
        ASSERT_TRUE(s.Engine.Convert(message));
        const std::string dir = relative ? "img/" : s.Dir.File("out/img/");
        std::string page = TempDir::Read(s.Out("d1.htm"));
        EXPECT_NE(page.find("\r\nBACKGROUND=\"" + dir + "back.jpg\"><BR>\r\n"), std::string::npos) << page;
        EXPECT_NE(page.find(" <BR> <img src=\"" + dir + "red.gif\">Ann: hi\r\n"), std::string::npos) << page;
        EXPECT_EQ(TempDir::Read(s.Dir.File("out/img/back.jpg")), "JPEG");
        EXPECT_EQ(TempDir::Read(s.Dir.File("out/img/red.gif")), "GIF");
    }
}

TEST_F(ConvertRun, ImageAlreadyInImagesDirectoryIsKept)
{
    MakeDumps(1, false);
    S.Html.FBackImage = S.Dir.Write("out/back.jpg", "the only copy");
    // An icon that reaches the same picture through a link (a hard one: a
    // symbolic link needs a privilege on Windows).
    fs::create_hard_link(S.Out("back.jpg"), S.Dir.File("src/back.jpg"));
    S.AddName("x", 0, S.Dir.File("src/back.jpg"));
    EXPECT_TRUE(Run());
    EXPECT_EQ(TempDir::Read(S.Out("back.jpg")), "the only copy");
}

TEST_F(ConvertRun, DestroyingTheEngineShowsReadyInEveryRow)
{
    MakeDumps(2, false);
    {
        TConvertClass engine(nullptr, {});
        engine.SetOptions(&S.Html, &S.App, &S.IO, &S.Names);
        std::string message;
        EXPECT_TRUE(engine.Convert(message));
        EXPECT_EQ(S.ListView.Statuses(), (std::vector<std::string>{"Converted", "Converted"}));
    }
    EXPECT_EQ(S.ListView.Statuses(), (std::vector<std::string>{"Ready", "Ready"}));
    EXPECT_EQ(Codes(), (std::vector<int>{1, 1}));
}

} // namespace
} // namespace velmora
