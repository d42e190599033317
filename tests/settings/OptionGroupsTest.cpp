// The three option groups through fake controls: values at creation, setters
// that reach their bound controls, the file list and its statuses.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "platform/UPlatform.h"
#include "settings/UAppOptions.h"
#include "settings/UHTMLOptions.h"
#include "settings/UIOOptions.h"
#include "shared/UProfileStream.h"
#include "support/FakeControls.h"

namespace velmora {
namespace {

using namespace velmora::test;

const std::string ProgramDir = "/opt/velmora/";

// ---- Page options ----------------------------------------------------------

struct HTMLControls {
    FakeText Title, Author, BackImage, Front, End;
    FakeCheck RelImages, BrokenLines;
    FakeColor Back, Text, Link, VisLink;

    void Bind(THTMLOptions& options)
    {
        options.BindControls(&Title, &Author, &BackImage, &RelImages, &BrokenLines, &Front, &End, &Back, &Text,
                             &Link, &VisLink);
    }
};

TEST(HTMLOptionsTest, New_HasTitleAndTheDefaultColoursOfTheMoment)
{
    DefaultBackColor = 1;
    DefaultTextColor = 2;
    DefaultLinkColor = 3;
    DefaultVisitedLinkColor = -4;
    THTMLOptions options(nullptr);
    RestoreBuiltInDefaults();

    EXPECT_EQ(options.FBackColor, 1);
    EXPECT_EQ(options.FTextColor, 2);
    EXPECT_EQ(options.FLinkColor, 3);
    EXPECT_EQ(options.FVisLinkColor, -4);
    EXPECT_EQ(options.FTitle, "Quake 3 Arena Console Dump");
    EXPECT_TRUE(options.FBackImage.empty() && options.FFrontPageHTML.empty() && options.FEndPageHTML.empty() &&
                options.FAuthor.empty());
    EXPECT_TRUE(options.FRelImages);
    EXPECT_FALSE(options.FBrokenLines);
}

TEST(HTMLOptionsTest, BindControls_ShowsEveryValue)
{
    THTMLOptions options(nullptr);
    HTMLControls c;
    c.Bind(options);
    EXPECT_EQ(c.Title.Text, "Quake 3 Arena Console Dump");
    EXPECT_EQ(c.Back.Color, 0x400040);
    EXPECT_EQ(c.Text.Color, 0xFFFFFF);
    EXPECT_EQ(c.Link.Color, 0x00FFFF);
    EXPECT_EQ(c.VisLink.Color, 0xFF0000);
    EXPECT_TRUE(c.RelImages.Checked);
    EXPECT_FALSE(c.BrokenLines.Checked);
    EXPECT_EQ(c.RelImages.SetCount + c.BrokenLines.SetCount, 2);
    for (const FakeText* t : {&c.Author, &c.BackImage, &c.Front, &c.End})
        EXPECT_EQ(t->SetCount, 1);
}

struct HTMLSetterCase {
    const char* Name;
    std::function<void(THTMLOptions&)> Set;
    std::function<bool(const THTMLOptions&, const HTMLControls&)> Shown;
};

TEST(HTMLOptionsTest, EverySetter_StoresAndShowsInItsControl_WithoutMarkingChanged)
{
    const std::vector<HTMLSetterCase> cases = {
        {"back colour", [](THTMLOptions& o) { o.SetBackColor(11); },
         [](const THTMLOptions& o, const HTMLControls& c) { return o.FBackColor == 11 && c.Back.Color == 11; }},
        {"text colour", [](THTMLOptions& o) { o.SetTextColor(12); },
         [](const THTMLOptions& o, const HTMLControls& c) { return o.FTextColor == 12 && c.Text.Color == 12; }},
        {"link colour", [](THTMLOptions& o) { o.SetLinkColor(13); },
         [](const THTMLOptions& o, const HTMLControls& c) { return o.FLinkColor == 13 && c.Link.Color == 13; }},
        {"visited colour", [](THTMLOptions& o) { o.SetVisLinkColor(-14); },
         [](const THTMLOptions& o, const HTMLControls& c) {
             return o.FVisLinkColor == -14 && c.VisLink.Color == -14;
         }},
        {"background image", [](THTMLOptions& o) { o.SetBackImage("bg.jpg"); },
         [](const THTMLOptions& o, const HTMLControls& c) {
             return o.FBackImage == "bg.jpg" && c.BackImage.Text == "bg.jpg";
         }},
        {"title", [](THTMLOptions& o) { o.SetTitle("T"); },
         [](const THTMLOptions& o, const HTMLControls& c) { return o.FTitle == "T" && c.Title.Text == "T"; }},
        {"author", [](THTMLOptions& o) { o.SetAuthor("A"); },
         [](const THTMLOptions& o, const HTMLControls& c) { return o.FAuthor == "A" && c.Author.Text == "A"; }},
        {"front HTML", [](THTMLOptions& o) { o.SetFrontPageHTML("<b>"); },
         [](const THTMLOptions& o, const HTMLControls& c) {
             return o.FFrontPageHTML == "<b>" && c.Front.Text == "<b>";
         }},
        {"end HTML", [](THTMLOptions& o) { o.SetEndPageHTML("</b>"); },
         [](const THTMLOptions& o, const HTMLControls& c) {
             return o.FEndPageHTML == "</b>" && c.End.Text == "</b>";
         }},
        {"relative images", [](THTMLOptions& o) { o.SetRelImages(false); },
         [](const THTMLOptions& o, const HTMLControls& c) { return !o.FRelImages && !c.RelImages.Checked; }},
        {"broken lines", [](THTMLOptions& o) { o.SetBrokenLines(true); },
         [](const THTMLOptions& o, const HTMLControls& c) { return o.FBrokenLines && c.BrokenLines.Checked; }},
    };
    for (const HTMLSetterCase& c : cases) {
        THTMLOptions unbound(nullptr);
        c.Set(unbound); // no controls and no notifier: stores all the same

        FakeCommand save;
        TSettingsAction notifier(&save);
        THTMLOptions options(&notifier);
        HTMLControls controls;
        controls.Bind(options);
        c.Set(options);
        EXPECT_TRUE(c.Shown(options, controls)) << c.Name;
        EXPECT_EQ(save.SetCount, 0) << c.Name;
        TProfileWriter a, b;
        unbound.SaveToStream(a);
        options.SaveToStream(b);
        EXPECT_EQ(a.Data(), b.Data()) << c.Name << ": the unbound group stores the same value";
    }
}

// ---- General options -------------------------------------------------------

TEST(AppOptionsTest, New_IsCaseInsensitive_AndBindingDoesNotTouchTheCheckBox)
{
    TAppOptions options(nullptr);
    EXPECT_FALSE(options.FCaseSensitive);
    FakeCheck check;
    check.Checked = true;
    options.BindControls(&check);
    EXPECT_EQ(check.SetCount, 0);
    EXPECT_TRUE(check.Checked);
}

TEST(AppOptionsTest, SetCaseSensitive_TouchesTheCheckBoxOnlyWhenItShowsAnotherValue)
{
    TAppOptions options(nullptr);
    FakeCheck check;
    options.BindControls(&check);
    options.SetCaseSensitive(false); // the box already shows false
    EXPECT_EQ(check.SetCount, 0);
    options.SetCaseSensitive(true);
    EXPECT_EQ(check.SetCount, 1);
    EXPECT_TRUE(check.Checked);
    options.SetCaseSensitive(true);
    EXPECT_EQ(check.SetCount, 1);
    EXPECT_TRUE(options.FCaseSensitive);
}

TEST(AppOptionsTest, BindControlsWithNull_KeepsTheBoundCheckBox)
{
    TAppOptions options(nullptr);
    FakeCheck check;
    options.BindControls(&check);
    options.BindControls(nullptr);
    options.SetCaseSensitive(true);
    EXPECT_TRUE(check.Checked);
}

TEST(AppOptionsTest, LoadFromStream_ShowsTheValueAndMarksUnchanged)
{
    FakeCommand save;
    save.Enabled = true;
    TSettingsAction notifier(&save);
    TAppOptions options(&notifier);
    FakeCheck check;
    options.BindControls(&check);
    std::string section(1, '\x01');
    TProfileReader reader(section);
    options.LoadFromStream(reader);
    EXPECT_TRUE(options.FCaseSensitive);
    EXPECT_TRUE(check.Checked);
    EXPECT_FALSE(save.Enabled);
}

// ---- Input/output options --------------------------------------------------

struct IOControls {
    FakeListView List;
    FakeText InputDir, DestDir, DestImg;
    FakeCheck Prompt, Skip;
    FakeCommand Remove, Convert;

    void Bind(TIOOptions& options)
    {
        options.BindControls(&List, &InputDir, &DestDir, &DestImg, &Prompt, &Skip, &Remove, &Convert);
    }
};

std::vector<std::string> Paths(const TIOOptions& options)
{
    std::vector<std::string> paths;
    for (const TFileItem& item : options.FFiles)
        paths.push_back(item.Path);
    return paths;
}

// An installed program keeps its settings in the per-user folder but looks for
// dumps and writes pages in the user's documents.
TEST(IOOptionsTest, New_UserFilesDirectoryTakesThePlaceOfTheProgramDirectory)
{
    TIOOptions options(nullptr, TPlatform{nullptr, nullptr, ProgramDir, "/home/q3/Documents/"});
    EXPECT_EQ(options.FInputDir, "/home/q3/Documents/");
    EXPECT_EQ(options.FDestDir, "/home/q3/Documents/");
    EXPECT_EQ(options.FDestImgDir, "/home/q3/Documents/");
}

struct RegistryCase {
    const char* Name;
    bool WithRegistry;
    std::map<std::string, std::map<std::string, std::string>> Keys;
    std::string InputDir;
};

TEST(IOOptionsTest, New_TakesItsDirectoriesFromTheRegistryOrTheProgramDirectory)
{
    const std::string key = "Software\\Id\\Quake III Arena\\";
    const std::vector<RegistryCase> cases = {
        {"no registry", false, {}, ProgramDir},
        {"no key", true, {{"Software\\Other\\", {{"INSTALLPATH", "/x"}}}}, ProgramDir},
        {"key without INSTALLPATH", true, {{key, {{"VERSION", "1.32"}}}}, ""},
        {"path kept as stored", true, {{key, {{"INSTALLPATH", "C:\\Games\\Quake III Arena"}}}},
         "C:\\Games\\Quake III Arena"},
    };
    for (const RegistryCase& c : cases) {
        FakeRegistry registry;
        registry.Keys = c.Keys;
        TPlatform platform{c.WithRegistry ? &registry : nullptr, nullptr, ProgramDir};
        TIOOptions options(nullptr, platform);
        EXPECT_EQ(options.FGameDir, c.InputDir) << c.Name;
        EXPECT_EQ(options.FInputDir, c.InputDir) << c.Name;
        EXPECT_EQ(options.FDestDir, ProgramDir) << c.Name;
        EXPECT_EQ(options.FDestImgDir, ProgramDir) << c.Name;
        EXPECT_TRUE(options.FPromptOnOverwrite && options.FSkipExisting) << c.Name;
        EXPECT_TRUE(options.FFiles.empty()) << c.Name;
        EXPECT_EQ(options.FirstFile(), "") << c.Name;
    }
}

TEST(IOOptionsTest, AddFiles_SortsIgnoringCaseAndKeepsTheFirstSpelling)
{
    TIOOptions options(nullptr, TPlatform{nullptr, nullptr, ProgramDir});
    options.AddFiles({"/d/b.txt", "/d/C.txt", "/d/a.txt", "/d/B.TXT"});
    options.AddFiles({"/d/A.TXT", "/d/0.dmp", "/d/c.txt"});
    EXPECT_EQ(Paths(options), (std::vector<std::string>{"/d/0.dmp", "/d/a.txt", "/d/b.txt", "/d/C.txt"}));
    EXPECT_EQ(options.FirstFile(), "/d/0.dmp");
}

TEST(IOOptionsTest, AddFiles_WithoutListView_NeitherRebuildsNorMarksChanged)
{
    FakeCommand save, convert, remove;
    TSettingsAction notifier(&save);
    TIOOptions options(&notifier, TPlatform{nullptr, nullptr, ProgramDir});
    options.BindControls(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &remove, &convert);
    options.AddFiles({"/d/a.txt"});
    EXPECT_EQ(options.FFiles.size(), 1u);
    EXPECT_EQ(save.SetCount + convert.SetCount + remove.SetCount, 0);
}

TEST(IOOptionsTest, AddFiles_WithListView_RebuildsShowingReadyAndMarksChanged)
{
    FakeCommand save;
    TSettingsAction notifier(&save);
    TIOOptions options(&notifier, TPlatform{nullptr, nullptr, ProgramDir});
    IOControls c;
    c.Bind(options);
    options.AddFiles({"/d/b.txt", "/d/A.txt"});
    EXPECT_EQ(c.List.Captions(), (std::vector<std::string>{"/d/A.txt", "/d/b.txt"}));
    EXPECT_EQ(c.List.Statuses(), (std::vector<std::string>{"Ready", "Ready"}));
    EXPECT_TRUE(save.Enabled);
    EXPECT_TRUE(c.Convert.Enabled);
    EXPECT_FALSE(c.Remove.Enabled);
    EXPECT_EQ(c.List.UpdateDepth, 0);
}

TEST(IOOptionsTest, UpdateFileList_ShowsReadyForEveryRowAndSetsTheCommands)
{
    struct Case {
        std::vector<std::string> Files;
        bool ConvertEnabled;
    };
    for (const Case& k : {Case{{}, false}, Case{{"/d/a.txt", "/d/b.txt"}, true}}) {
        TIOOptions options(nullptr, TPlatform{nullptr, nullptr, ProgramDir});
        options.AddFiles(k.Files);
        IOControls c;
        c.Bind(options);
        c.List.AddRow("stale row");
        c.List.Selected = 1;
        c.Remove.Enabled = true;
        c.Convert.Enabled = !k.ConvertEnabled;
        for (int i = 0; i < static_cast<int>(k.Files.size()); ++i)
            options.SetFileStatus(i, StatusCode::Converted);

        options.UpdateFileList();
        EXPECT_EQ(c.List.Captions(), k.Files);
        EXPECT_EQ(c.List.Statuses(), std::vector<std::string>(k.Files.size(), "Ready"));
        EXPECT_FALSE(c.Remove.Enabled) << "no row is selected after a rebuild";
        EXPECT_EQ(c.Convert.Enabled, k.ConvertEnabled);
        EXPECT_EQ(c.List.UpdateDepth, 0);
        for (const TFileItem& item : options.FFiles)
            EXPECT_EQ(item.Status->Status, StatusCode::Converted) << "stored statuses stay";
    }
}

TEST(IOOptionsTest, ResetStatuses_AddsOrReplacesTheStatusColumnInsideOneBracket)
{
    TIOOptions options(nullptr, TPlatform{nullptr, nullptr, ProgramDir});
    IOControls c;
    c.Bind(options);
    options.ResetStatuses(); // no rows: no bracket
    EXPECT_EQ(c.List.UpdateBrackets, 0);
    c.List.AddRow("/d/a.txt");
    c.List.AddRow("/d/b.txt");
    c.List.AddSubItem(1, "Converted");
    options.ResetStatuses();
    EXPECT_EQ(c.List.Statuses(), (std::vector<std::string>{"Ready", "Ready"}));
    EXPECT_EQ(c.List.Rows[1].SubItems.size(), 1u);
    EXPECT_EQ(c.List.UpdateBrackets, 1);
    EXPECT_EQ(c.List.UpdateDepth, 0);
}

TEST(IOOptionsTest, SetFileStatus_CreatesOnceReusesAndIgnoresIndexesOutsideTheList)
{
    TIOOptions options(nullptr, TPlatform{nullptr, nullptr, ProgramDir});
    IOControls c;
    c.Bind(options);
    options.AddFiles({"/d/a.txt", "/d/b.txt"});
    EXPECT_EQ(options.FFiles[1].Status, nullptr);
    options.SetFileStatus(1, StatusCode::SkippedExisting);
    const IoResClass* created = options.FFiles[1].Status.get();
    ASSERT_NE(created, nullptr);
    options.SetFileStatus(1, StatusCode::ReadError);
    EXPECT_EQ(options.FFiles[1].Status.get(), created);
    EXPECT_EQ(created->Status, StatusCode::ReadError);
    EXPECT_EQ(c.List.Statuses(), (std::vector<std::string>{"Ready", "Error reading source file"}));

    options.SetFileStatus(2, StatusCode::Converted);
    options.SetFileStatus(-1, StatusCode::Converted);
    EXPECT_EQ(options.FFiles[0].Status, nullptr);
    EXPECT_EQ(c.List.Statuses(), (std::vector<std::string>{"Ready", "Error reading source file"}));
}

TEST(IOOptionsTest, SetSkipExisting_EnablesThePromptBoxExactlyWhenNotSkipping)
{
    for (bool skip : {true, false}) {
        TIOOptions options(nullptr, TPlatform{nullptr, nullptr, ProgramDir});
        IOControls c;
        c.Bind(options);
        c.Prompt.Enabled = skip;
        options.SetSkipExisting(skip);
        EXPECT_EQ(c.Skip.Checked, skip);
        EXPECT_EQ(c.Prompt.Enabled, !skip);
        EXPECT_EQ(c.Prompt.SetCount, 0) << "the prompt box keeps its checked state";
        EXPECT_TRUE(options.FPromptOnOverwrite);
        EXPECT_EQ(options.FSkipExisting, skip);
    }
}

TEST(IOOptionsTest, SetSkipExisting_WithoutSkipBox_LeavesThePromptBoxAlone)
{
    TIOOptions options(nullptr, TPlatform{nullptr, nullptr, ProgramDir});
    FakeCheck prompt;
    options.BindControls(nullptr, nullptr, nullptr, nullptr, &prompt, nullptr, nullptr, nullptr);
    options.SetSkipExisting(true);
    EXPECT_EQ(prompt.EnableCount + prompt.SetCount, 0);
    EXPECT_TRUE(options.FSkipExisting);
}

TEST(IOOptionsTest, DirectoryAndPromptSetters_StoreAndShow_WithoutMarkingChanged)
{
    FakeCommand save;
    TSettingsAction notifier(&save);
    TIOOptions options(&notifier, TPlatform{nullptr, nullptr, ProgramDir});
    IOControls c;
    c.Bind(options);
    options.SetInputDir("/in");
    options.SetDestDir("/out/");
    options.SetDestImgDir("/out/img");
    options.SetPromptOnOverwrite(false);
    c.Prompt.Checked = true;
    options.SetPromptOnOverwrite(false);
    EXPECT_EQ(options.FInputDir, "/in");
    EXPECT_EQ(c.InputDir.Text, "/in");
    EXPECT_EQ(options.FDestDir, "/out/");
    EXPECT_EQ(c.DestDir.Text, "/out/");
    EXPECT_EQ(options.FDestImgDir, "/out/img");
    EXPECT_EQ(c.DestImg.Text, "/out/img");
    EXPECT_FALSE(options.FPromptOnOverwrite);
    EXPECT_FALSE(c.Prompt.Checked) << "no setter compares with the old value";
    EXPECT_EQ(save.SetCount, 0);
}

TEST(IOOptionsTest, RemoveFile_DropsTheItemAndMarksChangedWithoutTouchingTheView)
{
    FakeCommand save;
    TSettingsAction notifier(&save);
    TIOOptions options(&notifier, TPlatform{nullptr, nullptr, ProgramDir});
    IOControls c;
    c.Bind(options);
    options.AddFiles({"/d/a.txt", "/d/b.txt"});
    options.SetFileStatus(0, StatusCode::Converted);
    save.Enabled = false;
    options.RemoveFile(0);
    EXPECT_EQ(Paths(options), std::vector<std::string>{"/d/b.txt"});
    EXPECT_EQ(options.FFiles[0].Status, nullptr);
    EXPECT_TRUE(save.Enabled);
    EXPECT_EQ(c.List.RowCount(), 2) << "the caller rebuilds the view";
}

} // namespace
} // namespace velmora
