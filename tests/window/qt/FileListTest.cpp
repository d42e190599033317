// The first tab as the user works it: adding files through the open dialog
// and by dropping them, removing the selected rows, and a conversion run with
// its stop button, progress bars, error box and the window's running state.
#include <filesystem>
#include <stdexcept>

#include <QAction>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>

#include "settings/UIOOptions.h"
#include "WindowFixture.h"

namespace velmora::test {
namespace {

namespace fs = std::filesystem;

const std::string RealDump = std::string(VELMORA_SHARED_TESTDATA) + "/q3dumps/ql-condump-june2025.txt";
const char* const PageFooter = "<!-- Created by Velmora -->\r\n</BODY> </HTML>\r\n";

struct TRow {
    std::string Path;
    std::string Status;
    bool operator==(const TRow&) const = default;
};

void PrintTo(const TRow& row, std::ostream* os)
{
    *os << row.Path << " | " << row.Status;
}

// Message boxes that also note the convert button's caption when a box comes up.
class TCaptionNotingBoxes : public FakeMessageBoxes {
public:
    void ShowMessage(const std::string& caption, const std::string& text, TMsgIcon icon) override
    {
        if (Button)
            ButtonCaptions.push_back(Button->text().toStdString());
        FakeMessageBoxes::ShowMessage(caption, text, icon);
    }
    QToolButton* Button = nullptr;
    std::vector<std::string> ButtonCaptions;
};

class FileList : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        if (!fs::exists(RealDump))
            GTEST_SKIP() << "real dumps not found: " << RealDump;
        fs::create_directory(Dir.File("dumps"));
    }

    // The window started with a pump that also runs the test's Pump, and shown.
    void StartShown()
    {
        TWindowServices services = Services();
        services.MessageBoxes = &NotingBoxes;
        services.ProcessMessages = [this] {
            QCoreApplication::processEvents();
            if (Pump)
                Pump();
        };
        Form = std::make_unique<THTMLform>(services);
        ASSERT_TRUE(Form->FormCreate());
        NotingBoxes.Button = Find<QToolButton>("BtnConvert");
        NotingBoxes.Messages.clear();
        Show();
    }

    // Copies of a real dump in the dumps folder.
    std::vector<std::string> Dumps(const std::vector<std::string>& names)
    {
        std::vector<std::string> paths;
        for (const std::string& name : names) {
            paths.push_back(Dir.File("dumps/" + name));
            fs::copy_file(RealDump, paths.back(), fs::copy_options::overwrite_existing);
        }
        return paths;
    }
    std::string Page(const std::string& name) { return Dir.File(name + ".htm"); }

    void AddThroughDialog(const std::vector<std::string>& paths)
    {
        Dialogs.OpenAnswers.push_back(paths);
        Find<QAction>("ActAddToList")->trigger();
    }
    std::vector<TRow> Rows()
    {
        auto* list = Find<QTreeWidget>("SrcFilesList");
        std::vector<TRow> rows;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            rows.push_back({list->topLevelItem(i)->text(0).toStdString(), list->topLevelItem(i)->text(1).toStdString()});
        return rows;
    }
    std::vector<TRow> ReadyRows(const std::vector<std::string>& paths)
    {
        std::vector<TRow> rows;
        for (const std::string& path : paths)
            rows.push_back({path, "Ready"});
        return rows;
    }
    // Clicks a row of the file list, with Ctrl to add it to or take it from the selection.
    void ClickRow(int row, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        auto* list = Find<QTreeWidget>("SrcFilesList");
        QRect rect = list->visualItemRect(list->topLevelItem(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, rect.center());
    }
    bool Enabled(const char* action) { return Find<QAction>(action)->isEnabled(); }
    void Convert() { Find<QToolButton>("BtnConvert")->click(); }

    // Drags files onto the file list and drops them; true when the drop was taken.
    bool Drop(const std::vector<std::string>& paths)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const std::string& path : paths)
            urls << QUrl::fromLocalFile(QString::fromStdString(path));
        data.setUrls(urls);
        QWidget* viewport = Find<QTreeWidget>("SrcFilesList")->viewport();
        QPoint at = viewport->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &drop);
        return enter.isAccepted() && drop.isAccepted();
    }

    TCaptionNotingBoxes NotingBoxes;
    std::function<void()> Pump;
};

TEST_F(FileList, AddingSortsInNewFilesOnceAndShowsEveryRowReady)
{
    StartShown();
    std::vector<std::string> d = Dumps({"b.txt", "d.dmp", "a.txt", "c.dump"});
    EXPECT_FALSE(Enabled("ActConvert"));

    AddThroughDialog({d[0], d[1]});
    EXPECT_EQ(Rows(), ReadyRows({d[0], d[1]}));
    EXPECT_TRUE(Enabled("ActConvert"));
    EXPECT_TRUE(Enabled("ActSaveOpts"));
    const TFileDialogSettings& first = Dialogs.OpenSettings.at(0);
    EXPECT_EQ(first.Title, "Select files to be converted to HTML");
    EXPECT_EQ(first.Filter, "Quake 3 Dump files|*.txt;*.dmp;*.dump|All files|*.*");
    EXPECT_EQ(first.DefaultExt, ".cfg");
    EXPECT_EQ(first.InitialDir, Dir.Path());
    EXPECT_EQ(first.FileName, "");
    EXPECT_TRUE(first.MultiSelect);
    EXPECT_TRUE(first.MustExist);

    // A converted row reads "Ready" again after the next add.
    Convert();
    EXPECT_EQ(Rows()[0].Status, "Converted");

    // Already listed, also spelled in another letter case: the list keeps each
    // file as the profile's own comparison of paths says, in sorted order.
    std::string otherCase = Dir.File("dumps/B.TXT");
    std::vector<std::string> added = {d[3], d[0], otherCase, d[2]};
    AddThroughDialog(added);
    EXPECT_EQ(Dialogs.OpenSettings.at(1).FileName, d[0]);
    TIOOptions expected(nullptr, TPlatform{});
    expected.AddFiles({d[0], d[1]});
    expected.AddFiles(added);
    std::vector<std::string> expectedPaths;
    for (const TFileItem& item : expected.FFiles)
        expectedPaths.push_back(item.Path);
    EXPECT_EQ(Rows(), ReadyRows(expectedPaths));
    EXPECT_EQ(Rows().front().Path, d[2]);

    // Cancelling the dialog changes nothing, the changed mark included.
    Find<QAction>("ActSaveOpts")->trigger();
    Dialogs.OpenAnswers.push_back(std::nullopt);
    Find<QAction>("ActAddToList")->trigger();
    EXPECT_EQ(Rows(), ReadyRows(expectedPaths));
    EXPECT_FALSE(Enabled("ActSaveOpts"));
}

TEST_F(FileList, RemoveTakesExactlyTheSelectedRowsAndFollowsTheRowThatChanged)
{
    StartShown();
    std::vector<std::string> d = Dumps({"0.txt", "1.txt", "2.txt", "3.txt", "4.txt", "5.txt"});
    AddThroughDialog(d);
    Convert();
    ClickRow(1, Qt::NoModifier);
    ClickRow(3);
    ClickRow(5);
    EXPECT_TRUE(Enabled("ActRemoveFromList"));
    // A Ctrl-click deselection disables Remove though rows 1 and 5 stay selected.
    ClickRow(3);
    EXPECT_FALSE(Enabled("ActRemoveFromList"));
    ClickRow(3);
    EXPECT_TRUE(Enabled("ActRemoveFromList"));

    Find<QAction>("ActSaveOpts")->trigger();
    Find<QAction>("ActRemoveFromList")->trigger();
    EXPECT_EQ(Rows(), ReadyRows({d[0], d[2], d[4]}));
    EXPECT_FALSE(Enabled("ActRemoveFromList"));
    EXPECT_TRUE(Enabled("ActSaveOpts"));

    // Removing the last files disables Convert.
    Find<QTreeWidget>("SrcFilesList")->selectAll();
    Find<QAction>("ActRemoveFromList")->trigger();
    EXPECT_TRUE(Rows().empty());
    EXPECT_FALSE(Enabled("ActConvert"));
}

TEST_F(FileList, ARunWithAMissingFileShowsStatusesMovesTheBarsAndRestoresTheWindow)
{
    StartShown();
    std::vector<std::string> d = Dumps({"a.txt", "b.txt", "c.txt", "d.txt"});
    AddThroughDialog(d);
    fs::remove(d[2]);
    auto* total = Find<QProgressBar>("ProgTotal");
    auto* current = Find<QProgressBar>("ProgCurr");
    std::vector<int> totals;
    int mostOfPage = 0;
    Pump = [&] {
        totals.push_back(total->value());
        mostOfPage = std::max(mostOfPage, current->value() * 100 / std::max(1, current->maximum()));
    };
    auto* tabs = Find<QTabWidget>("PageControl");
    tabs->setCurrentIndex(2);
    Convert();

    ASSERT_EQ(NotingBoxes.Messages.size(), 1u);
    EXPECT_EQ(NotingBoxes.Messages[0].Caption, "Conversion Error");
    EXPECT_EQ(NotingBoxes.Messages[0].Text, "One or more files were not converted");
    EXPECT_EQ(NotingBoxes.Messages[0].Icon, TMsgIcon::Error);
    EXPECT_EQ(NotingBoxes.ButtonCaptions, std::vector<std::string>{"Stop &Conversion"});
    EXPECT_EQ(Rows(), (std::vector<TRow>{{d[0], "Converted"},
                                         {d[1], "Converted"},
                                         {d[2], "Error reading source file"},
                                         {d[3], "Converted"}}));

    // The total bar stepped once per file, the file bar followed the page's lines; both end at zero.
    EXPECT_EQ(total->maximum(), 4);
    for (int step : {0, 1, 2, 3})
        EXPECT_NE(std::find(totals.begin(), totals.end(), step), totals.end()) << step;
    EXPECT_GE(mostOfPage, 90);
    EXPECT_EQ(total->value(), 0);
    EXPECT_EQ(current->value(), 0);

    // The window is back as before the run.
    auto* button = Find<QToolButton>("BtnConvert");
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(QApplication::focusWidget(), Find("BtnAdd"));
    EXPECT_EQ(button->text(), "Convert to &HTML");
    EXPECT_EQ(button->statusTip(), "Start converting the files on the list to HTML");
    EXPECT_TRUE(button->isEnabled());
    EXPECT_TRUE(Find("btnExit")->isEnabled());
    EXPECT_TRUE(Enabled("ActAddToList"));
    EXPECT_TRUE(Find("TitleEdit")->isEnabled());
    // The button is bound to Convert again: a click starts a new run.
    Convert();
    EXPECT_EQ(NotingBoxes.Messages.size(), 2u);
}

TEST_F(FileList, ARunThatRaisesStillRestoresTheWindowAndReportsTheError)
{
    StartShown();
    AddThroughDialog(Dumps({"a.txt"}));
    Pump = [] { throw std::runtime_error("out of window handles"); };
    Convert();
    Pump = nullptr;

    ASSERT_EQ(NotingBoxes.Messages.size(), 1u);
    EXPECT_EQ(NotingBoxes.Messages[0].Caption, "Velmora");
    EXPECT_EQ(NotingBoxes.Messages[0].Text, "out of window handles");
    EXPECT_EQ(NotingBoxes.ButtonCaptions, std::vector<std::string>{"Convert to &HTML"});
    EXPECT_TRUE(Find("btnExit")->isEnabled());
    EXPECT_TRUE(Find("ConfigSheet")->isEnabled());
    EXPECT_TRUE(Enabled("ActAddToList"));
    EXPECT_EQ(QApplication::focusWidget(), Find("BtnAdd"));
}

TEST_F(FileList, StopDuringTheSecondFileLeavesTheRestReadyAndThePagesWhole)
{
    StartShown();
    std::vector<std::string> d = Dumps({"a.txt", "b.txt", "c.txt", "d.txt"});
    AddThroughDialog(d);
    auto* total = Find<QProgressBar>("ProgTotal");
    auto* current = Find<QProgressBar>("ProgCurr");
    bool clicked = false;
    Pump = [&] {
        // Halfway through the second page, the user clicks Stop.
        if (!clicked && total->value() == 1 && current->value() * 2 > current->maximum()) {
            clicked = true;
            QTest::mouseClick(Find<QToolButton>("BtnConvert"), Qt::LeftButton);
        }
    };
    Convert();

    ASSERT_TRUE(clicked);
    ASSERT_EQ(NotingBoxes.Messages.size(), 1u);
    EXPECT_EQ(NotingBoxes.Messages[0].Text, "Canceled by user");
    EXPECT_EQ(Rows(), (std::vector<TRow>{{d[0], "Converted"},
                                         {d[1], "Canceled by user"},
                                         {d[2], "Ready"},
                                         {d[3], "Ready"}}));
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
    StartShown();
    std::vector<std::string> d = Dumps({"a.txt", "b.txt"});
    std::vector<std::string> late = Dumps({"late.txt"});
    AddThroughDialog(d);
    ClickRow(0, Qt::NoModifier);
    ASSERT_TRUE(Enabled("ActRemoveFromList"));
    bool checked = false;
    Pump = [&] {
        if (checked)
            return;
        checked = true;
        EXPECT_FALSE(Find("btnExit")->isEnabled());
        EXPECT_FALSE(Form->close());
        EXPECT_FALSE(Enabled("ActAddToList"));
        for (const char* sheet : {"HighlightOptSheet", "ColorProfileSheet", "ConfigSheet"})
            EXPECT_FALSE(Find(sheet)->isEnabled()) << sheet;
        Find<QTabWidget>("PageControl")->setCurrentIndex(2);
        QTest::keyClicks(Find<QLineEdit>("TitleEdit"), "typed");
        EXPECT_EQ(Find<QLineEdit>("TitleEdit")->text().toStdString(), "Quake 3 Arena Console Dump");
        Find<QTabWidget>("PageControl")->setCurrentIndex(0);
        ClickRow(1);
        EXPECT_FALSE(Enabled("ActRemoveFromList"));
        QTest::keyClick(Form.get(), Qt::Key_Escape);
        EXPECT_FALSE(Drop(late));
        EXPECT_EQ(Rows().size(), 2u);
        auto* button = Find<QToolButton>("BtnConvert");
        EXPECT_EQ(button->text(), "Stop &Conversion");
        EXPECT_EQ(button->statusTip(), "Click to stop the ongoing conversion");
        EXPECT_TRUE(button->isEnabled());
        EXPECT_EQ(NotingBoxes.Messages.size(), 0u);
    };
    Convert();
    ASSERT_TRUE(checked);
    EXPECT_TRUE(NotingBoxes.Messages.empty());
    // Remove comes back as it was before the run; after the run the window closes.
    EXPECT_TRUE(Enabled("ActRemoveFromList"));
    NotingBoxes.YesNoAnswers.push_back(false);
    EXPECT_TRUE(Form->close());
}

TEST_F(FileList, DroppedDumpsJoinTheListAsAddedOnes)
{
    StartShown();
    std::vector<std::string> d = Dumps({"b.txt", "a.txt", "c.txt"});
    AddThroughDialog({d[0]});
    Find<QAction>("ActSaveOpts")->trigger();

    // A folder among the dropped items is passed over.
    EXPECT_TRUE(Drop({d[2], d[0], d[1], Dir.File("dumps")}));
    EXPECT_EQ(Rows(), ReadyRows({d[1], d[0], d[2]}));
    EXPECT_TRUE(Enabled("ActSaveOpts"));
    EXPECT_FALSE(Drop({Dir.File("dumps")}));
}

} // namespace
} // namespace velmora::test
