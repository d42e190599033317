// The first tab: adding files through the open dialog and by dropping them,
// removing the selected rows, and a conversion run with its stop button,
// progress bars, error box and the window's running state.
#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "settings/UIOOptions.h"
#include "FormFixture.h"

namespace velmora::test {
namespace {

namespace fs = std::filesystem;

const char* const PageFooter = "<!-- Created by Velmora -->\r\n</BODY> </HTML>\r\n";

class FileList : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        fs::create_directory(Dir.File("dumps"));
        StartOnDefault();
    }
    std::vector<std::string> Dumps(const std::vector<std::string>& names)
    {
        std::vector<std::string> paths;
        for (const std::string& name : names)
            paths.push_back(WriteDump(Dir, "dumps/" + name));
        return paths;
    }
    std::string Page(const std::string& name) { return Dir.File(name + ".htm"); }
    void AddThroughDialog(const std::vector<std::string>& paths)
    {
        Dialogs.OpenAnswers.push_back(paths);
        Run(&THTMLform::ActAddToListExecute);
        EXPECT_EQ(W.StatePanel.Text, "Opening files");
    }
    // Each row's caption and status.
    std::vector<std::pair<std::string, std::string>> Rows()
    {
        std::vector<std::pair<std::string, std::string>> rows;
        const auto statuses = W.SrcFilesList.Statuses();
        for (std::size_t i = 0; i < W.SrcFilesList.Rows.size(); ++i)
            rows.emplace_back(W.SrcFilesList.Rows[i].Caption, statuses[i]);
        return rows;
    }
    static std::vector<std::pair<std::string, std::string>> Ready(const std::vector<std::string>& paths)
    {
        std::vector<std::pair<std::string, std::string>> rows;
        for (const std::string& path : paths)
            rows.emplace_back(path, "Ready");
        return rows;
    }
    // A row becomes selected or deselected, as the list reports it.
    void Select(std::vector<int> rows, bool lastChangeSelected = true)
    {
        W.SrcFilesList.Selection = std::move(rows);
        Form->SrcFilesListSelectItem(lastChangeSelected);
    }
    void Convert() { Run(&THTMLform::BtnConvertClick); }
};

TEST_F(FileList, AddingSortsInNewFilesOnceAndShowsEveryRowReady)
{
    std::vector<std::string> d = Dumps({"b.txt", "d.dmp", "a.txt", "c.dump"});
    EXPECT_FALSE(W.ActConvert.Enabled);

    AddThroughDialog({d[0], d[1]});
    EXPECT_EQ(Rows(), Ready({d[0], d[1]}));
    EXPECT_TRUE(W.ActConvert.Enabled);
    EXPECT_TRUE(Changed());
    const TFileDialogSettings& first = Dialogs.OpenSettings.at(0);
    EXPECT_EQ(first.Title, "Select files to be converted to HTML");
    EXPECT_EQ(first.Filter, "Quake 3 Dump files|*.txt;*.log;*.dmp;*.dump|All files|*.*");
    EXPECT_EQ(first.DefaultExt, ".cfg");
    EXPECT_EQ(first.InitialDir, Dir.Path());
    EXPECT_EQ(first.FileName, "");
    EXPECT_TRUE(first.MultiSelect);
    EXPECT_TRUE(first.MustExist);

    // A converted row reads "Ready" again after the next add.
    Convert();
    EXPECT_EQ(Rows()[0].second, "Converted");

    // Already listed, also spelled in another letter case: the list keeps each
    // file as the profile's own comparison of paths says, in sorted order.
    std::vector<std::string> added = {d[3], d[0], Dir.File("dumps/B.TXT"), d[2]};
    AddThroughDialog(added);
    EXPECT_EQ(Dialogs.OpenSettings.at(1).FileName, d[0]);
    TIOOptions expected(nullptr, TPlatform{});
    expected.AddFiles({d[0], d[1]});
    expected.AddFiles(added);
    std::vector<std::string> expectedPaths;
    for (const TFileItem& item : expected.FFiles)
        expectedPaths.push_back(item.Path);
    EXPECT_EQ(Rows(), Ready(expectedPaths));
    EXPECT_EQ(Rows().front().first, d[2]);

    // Cancelling the dialog changes nothing, the changed mark included.
    Run(&THTMLform::ActSaveOptsExecute);
    Dialogs.OpenAnswers.push_back(std::nullopt);
    Run(&THTMLform::ActAddToListExecute);
    EXPECT_EQ(Rows(), Ready(expectedPaths));
    EXPECT_FALSE(Changed());
}

TEST_F(FileList, RemoveTakesExactlyTheSelectedRowsAndFollowsTheRowThatChanged)
{
    std::vector<std::string> d = Dumps({"0.txt", "1.txt", "2.txt", "3.txt", "4.txt", "5.txt"});
    AddThroughDialog(d);
    Convert();
    Select({1, 3, 5});
    EXPECT_TRUE(W.ActRemoveFromList.Enabled);
    // A deselection disables Remove though rows 1 and 5 stay selected.
    Select({1, 5}, false);
    EXPECT_FALSE(W.ActRemoveFromList.Enabled);
    Select({1, 3, 5});
    EXPECT_TRUE(W.ActRemoveFromList.Enabled);

    Run(&THTMLform::ActSaveOptsExecute);
    Run(&THTMLform::EscapeKey); // Escape on the first tab removes
    EXPECT_EQ(Rows(), Ready({d[0], d[2], d[4]}));
    EXPECT_FALSE(W.ActRemoveFromList.Enabled);
    EXPECT_TRUE(Changed());

    // Escape on another tab, or with Remove disabled, does nothing.
    Select({0});
    W.Pages.Active = HighlightOptSheet;
    Run(&THTMLform::EscapeKey);
    W.Pages.Active = ConvertSheet;
    W.ActRemoveFromList.Enabled = false;
    Run(&THTMLform::EscapeKey);
    EXPECT_EQ(Rows().size(), 3u);

    // Removing the last files disables Convert.
    Select({0, 1, 2});
    Run(&THTMLform::ActRemoveFromListExecute);
    EXPECT_TRUE(Rows().empty());
    EXPECT_FALSE(W.ActConvert.Enabled);
}

TEST_F(FileList, ARunWithAMissingFileShowsStatusesMovesTheBarsAndRestoresTheWindow)
{
    std::vector<std::string> d = Dumps({"a.txt", "b.txt", "c.txt", "d.txt"});
    AddThroughDialog(d);
    fs::remove(d[2]);
    std::vector<int> totals;
    int mostOfPage = 0;
    Pump = [&] {
        totals.push_back(W.ProgTotal.PositionValue);
        mostOfPage = std::max(mostOfPage, W.ProgCurr.PositionValue * 100 / std::max(1, W.ProgCurr.MaxValue));
    };
    W.Pages.Active = ColorProfileSheet;
    std::vector<std::string> captionsWhileShown;
    Boxes.WhileShown = [&] { captionsWhileShown.push_back(W.BtnConvert.CaptionText); };
    Convert();
    EXPECT_EQ(captionsWhileShown, std::vector<std::string>{"Stop &Conversion"});

    auto messages = Boxes.Take();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Caption, "Conversion Error");
    EXPECT_EQ(messages[0].Text, "One or more files were not converted");
    EXPECT_EQ(messages[0].Icon, TMsgIcon::Error);
    EXPECT_EQ(Rows(), (std::vector<std::pair<std::string, std::string>>{
                          {d[0], "Converted"}, {d[1], "Converted"}, {d[2], "Error reading source file"},
                          {d[3], "Converted"}}));
    EXPECT_EQ(W.StatePanel.Text, "3 pages written to " + Dir.Path());

    // The total bar stepped once per file, the file bar followed the page's lines; both end at zero.
    EXPECT_EQ(W.ProgTotal.MaxValue, 4);
    for (int step : {0, 1, 2, 3})
        EXPECT_NE(std::find(totals.begin(), totals.end(), step), totals.end()) << step;
    EXPECT_GE(mostOfPage, 90);
    EXPECT_EQ(W.ProgTotal.PositionValue, 0);
    EXPECT_EQ(W.ProgCurr.PositionValue, 0);

    // The window is back as before the run.
    EXPECT_EQ(W.Pages.Active, ConvertSheet);
    EXPECT_EQ(W.Focused, "BtnAdd");
    EXPECT_EQ(W.BtnConvert.CaptionText, "Convert to &HTML");
    EXPECT_EQ(W.BtnConvert.HintText, "Start converting the files on the list to HTML");
    EXPECT_EQ(W.BtnConvert.Picture, TButtonPicture::Own);
    EXPECT_TRUE(W.btnExit.Enabled);
    EXPECT_TRUE(W.ActAddToList.Enabled);
    EXPECT_EQ(W.Pages.Enabled, std::vector<bool>(5, true));
    // The button runs Convert again: a click starts a new run.
    Convert();
    EXPECT_EQ(Boxes.Take().size(), 1u);
}

TEST_F(FileList, ARunThatRaisesStillRestoresTheWindowAndReportsTheError)
{
    AddThroughDialog(Dumps({"a.txt"}));
    std::vector<std::string> captionsWhileShown;
    Boxes.WhileShown = [&] { captionsWhileShown.push_back(W.BtnConvert.CaptionText); };
    Pump = [] { throw std::runtime_error("out of window handles"); };
    Convert();
    Pump = nullptr;
    EXPECT_EQ(captionsWhileShown, std::vector<std::string>{"Convert to &HTML"}) << "shown after the restore";

    auto messages = Boxes.Take();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Caption, "Velmora");
    EXPECT_EQ(messages[0].Text, "out of window handles");
    EXPECT_EQ(W.BtnConvert.CaptionText, "Convert to &HTML");
    EXPECT_TRUE(W.btnExit.Enabled);
    EXPECT_TRUE(W.Pages.Enabled[ConfigSheet]);
    EXPECT_TRUE(W.ActAddToList.Enabled);
    EXPECT_EQ(W.Focused, "BtnAdd");
}

TEST_F(FileList, StopDuringTheSecondFileLeavesTheRestReadyAndThePagesWhole)
{
    std::vector<std::string> d = Dumps({"a.txt", "b.txt", "c.txt", "d.txt"});
    AddThroughDialog(d);
    bool clicked = false;
    Pump = [&] {
        // Halfway through the second page, the user clicks the button, now Stop.
        if (!clicked && W.ProgTotal.PositionValue == 1 && W.ProgCurr.PositionValue * 2 > W.ProgCurr.MaxValue) {
            clicked = true;
            Convert();
        }
    };
    Convert();

    ASSERT_TRUE(clicked);
    auto messages = Boxes.Take();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Text, "Canceled by user");
    EXPECT_EQ(Rows(), (std::vector<std::pair<std::string, std::string>>{
                          {d[0], "Converted"}, {d[1], "Canceled by user"}, {d[2], "Ready"}, {d[3], "Ready"}}));
    std::string first = TempDir::Read(Page("a"));
    std::string second = TempDir::Read(Page("b"));
    EXPECT_TRUE(first.ends_with(PageFooter));
    EXPECT_TRUE(second.ends_with(PageFooter));
    // The stopped page still holds every line of its dump.
    EXPECT_EQ(std::count(second.begin(), second.end(), '\n'), std::count(first.begin(), first.end(), '\n'));
    EXPECT_FALSE(fs::exists(Page("c")));
    EXPECT_FALSE(fs::exists(Page("d")));
}

TEST_F(FileList, DuringARunTheListTheOtherTabsAndClosingAreOutOfReach)
{
    std::vector<std::string> d = Dumps({"a.txt", "b.txt"});
    std::vector<std::string> late = Dumps({"late.txt"});
    AddThroughDialog(d);
    Select({0});
    ASSERT_TRUE(W.ActRemoveFromList.Enabled);
    W.BtnConvert.PointedAt = true;
    Form->ApplicationHint("Start converting the files on the list to HTML");
    bool checked = false;
    Pump = [&] {
        if (checked)
            return;
        checked = true;
        EXPECT_EQ(W.StatePanel.Text, "Converting...");
        EXPECT_FALSE(W.btnExit.Enabled);
        EXPECT_FALSE(Form->CloseQuery());
        EXPECT_FALSE(W.ActAddToList.Enabled);
        EXPECT_EQ(W.Pages.Enabled, (std::vector<bool>{true, false, false, false, false}));
        EXPECT_EQ(W.Focused, "BtnConvert");
        Select({0, 1});
        EXPECT_FALSE(W.ActRemoveFromList.Enabled);
        Run(&THTMLform::EscapeKey);
        Run(&THTMLform::ActAddToListExecute); // out of reach, but also refused
        EXPECT_FALSE(Form->CanDropFiles());
        Form->FilesDropped(late);
        EXPECT_EQ(Rows().size(), 2u);
        EXPECT_EQ(W.BtnConvert.CaptionText, "Stop &Conversion");
        EXPECT_EQ(W.BtnConvert.HintText, "Click to stop the ongoing conversion");
        EXPECT_EQ(W.HintPanel.Text, "Click to stop the ongoing conversion") << "the pointer is on the button";
        EXPECT_EQ(W.BtnConvert.Picture, TButtonPicture::Stop);
    };
    Convert();
    ASSERT_TRUE(checked);
    EXPECT_TRUE(Boxes.Take().empty());
    EXPECT_EQ(W.HintPanel.Text, "Start converting the files on the list to HTML");
    // Remove comes back as it was before the run; after the run the window closes.
    EXPECT_TRUE(W.ActRemoveFromList.Enabled);
    Boxes.YesNoCancelAnswers.push_back(TYesNoCancel::No);
    EXPECT_TRUE(Form->CloseQuery());
}

TEST_F(FileList, AfterARunTheStatusBarSaysWhatWasWrittenAndConvertedRowsOpenTheirPages)
{
    std::vector<std::string> d = Dumps({"a.txt", "b.txt"});
    d.push_back(Dir.File("dumps/gone.txt")); // cannot be read
    AddThroughDialog(d);
    const std::string dest = Dir.File("site/pages/"); // missing: the run makes it
    W.Focus("DestDirEdit", ConfigSheet);
    W.Texts.at("DestDirEdit").SetText(dest);
    Leave();
    std::vector<std::string> shownDuringTheRun;
    bool openableDuringTheRun = false;
    Pump = [&] {
        shownDuringTheRun.push_back(W.StatePanel.Text);
        openableDuringTheRun |= Form->CanOpenPage(0);
    };
    Convert();
    Pump = nullptr;
    EXPECT_EQ(Boxes.Take().at(0).Caption, "Conversion Error");
    EXPECT_EQ(shownDuringTheRun.at(0), "Created the destination directory " + dest);
    EXPECT_FALSE(openableDuringTheRun);
    EXPECT_EQ(W.StatePanel.Text, "2 pages written to " + dest + "; created the destination directory " + dest);

    for (int row : {-1, 2, 3})
        EXPECT_FALSE(Form->CanOpenPage(row)) << row;
    EXPECT_TRUE(Form->CanOpenPage(1));
    Form->OpenPage(1);
    Form->OpenPageFolder(0);
    Form->OpenPage(2); // not converted: nothing opens
    EXPECT_EQ(Urls, (std::vector<std::string>{FileUrl(dest + "b.htm"), FileUrl(dest)})); // FileUrlOf tests the URLs

    Form->ApplicationIdle();
    EXPECT_EQ(W.StatePanel.Text, "2 pages written to " + dest + "; created the destination directory " + dest)
        << "until the list changes";
    AddThroughDialog(Dumps({"c.txt"})); // every row reads "Ready" again
    EXPECT_FALSE(Form->CanOpenPage(0));
    Form->ApplicationIdle();
    EXPECT_EQ(W.StatePanel.Text, "Ready");
}

TEST(FileUrlOf, LocalPathsBecomeEscapedFileUrls)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/home/me/site/", "file:///home/me/site/"},
        {"/a b/50%/x#y?.htm", "file:///a%20b/50%25/x%23y%3F.htm"},
        {"/p\xC3\xA4ge.htm", "file:///p%C3%A4ge.htm"},
        {"C:\\Pages\\my page.htm", "file:///C:/Pages/my%20page.htm"},
    };
    for (auto [path, url] : cases)
        EXPECT_EQ(FileUrl(path), url);
}

TEST_F(FileList, TheControlsShowTheDirectoriesAsTheRunCompletedThem)
{
    AddThroughDialog(Dumps({"a.txt"}));
    std::string dest = Dir.Path();
    dest.pop_back(); // without its closing separator
    W.Focus("DestDirEdit", ConfigSheet);
    W.Texts.at("DestDirEdit").SetText(dest);
    Leave();
    Run(&THTMLform::ActSaveOptsExecute);
    Convert();
    EXPECT_EQ(Text("DestDirEdit"), Dir.Path());
    EXPECT_TRUE(Changed()) << "shown as if typed";
}

TEST_F(FileList, DroppedDumpsJoinTheListAsAddedOnes)
{
    std::vector<std::string> d = Dumps({"b.txt", "a.txt", "c.txt"});
    AddThroughDialog({d[0]});
    Run(&THTMLform::ActSaveOptsExecute);
    ASSERT_TRUE(Form->CanDropFiles());
    Form->FilesDropped({d[2], d[0], d[1]});
    EXPECT_EQ(Rows(), Ready({d[1], d[0], d[2]}));
    EXPECT_TRUE(Changed());
}

} // namespace
} // namespace velmora::test
