// The main window as the user sees it: its controls, commands, sizes, the
// status bar's hints, Escape on the first tab and the remembered placement.
#include <filesystem>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>

#include "platform/UIniFile.h"
#include "window/UControlTexts.h"
#include "../StoredPlacement.h"
#include "WindowFixture.h"
#include "window/qt/UPathDelegate.h"

namespace velmora::test {
namespace {

using Layout = WindowTest;

QString Caption(const QWidget* w)
{
    if (auto* label = qobject_cast<const QLabel*>(w))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(w))
        return button->text();
    if (auto* group = qobject_cast<const QGroupBox*>(w))
        return group->title();
    return QString();
}

TEST_F(Layout, EveryControlHasItsCaptionHintAndPlace)
{
    Form = std::make_unique<TQtMainWindow>(Services());
    EXPECT_EQ(Form->windowTitle(), "Velmora");
    for (const TControlText& row : ControlTexts) {
        SCOPED_TRACE(row.Name);
        QWidget* w = Find(row.Name);
        QWidget* parent = Find(row.Parent);
        ASSERT_TRUE(w && parent);
        EXPECT_TRUE(parent->isAncestorOf(w));
        EXPECT_EQ(Caption(w).toStdString(), row.Caption);
        EXPECT_EQ(w->statusTip().toStdString(), row.Hint);
    }

    auto* tabs = Find<QTabWidget>("PageControl");
    ASSERT_EQ(tabs->count(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(tabs->widget(i)->objectName().toStdString(), SheetTexts[i].Name);
        EXPECT_EQ(tabs->tabText(i).toStdString(), SheetTexts[i].Caption);
        EXPECT_EQ(tabs->widget(i)->statusTip(), " ");
    }

    auto* list = Find<QTreeWidget>("SrcFilesList");
    EXPECT_EQ(list->headerItem()->text(0), "File Name");
    EXPECT_EQ(list->headerItem()->text(1), "Status");
    EXPECT_EQ(list->columnWidth(0), 189);
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);

    auto* colors = Find<QComboBox>("ColorCombo");
    ASSERT_EQ(colors->count(), 16);
    EXPECT_EQ(colors->currentIndex(), 0);
    EXPECT_EQ(colors->itemData(0).toInt(), 0x000000);
    EXPECT_EQ(colors->itemData(9).toInt(), 0x0000FF);
    EXPECT_TRUE(colors->itemText(9).isEmpty());
    for (const char* swatch : {"ShowNameCol", "ShowBackCol", "ShowTextCol", "ShowLinkCol", "ShowVisLinkCol"})
        EXPECT_EQ(Find(swatch)->palette().color(QPalette::Window), QColor(0xFF, 0x80, 0x80)) << swatch;
}

TEST_F(Layout, CommandsStartEnabledAsDesignedAndDriveTheirButtons)
{
    Form = std::make_unique<TQtMainWindow>(Services());
    const std::pair<const char*, bool> states[] = {
        {"ActAddToList", true},  {"ActRemoveFromList", false}, {"ActConvert", false},    {"ActPickCol", true},
        {"ActAddName", false},   {"ActRemoveName", false},     {"ActSaveOpts", false},   {"ActAbout", true},
        {"ActUpdateName", false}, {"ActOpenProfile", true},    {"ActSaveNewOpts", true}, {"ActStopConvert", true},
        {"ActClearMRU", true},
    };
    for (auto [name, enabled] : states)
        EXPECT_EQ(Find<QAction>(name)->isEnabled(), enabled) << name;
    EXPECT_TRUE(Find("btnExit")->isEnabled());
    EXPECT_FALSE(Find("btnRemove")->isEnabled());
    EXPECT_FALSE(Find("BtnSaveOpts")->isEnabled());

    // A button without a caption takes its command's; one with a caption keeps its own.
    EXPECT_EQ(Caption(Find("BtnClearMRU")), "Clear MRU");
    EXPECT_EQ(Caption(Find("BtnSaveOpts")), "&Save options");

    Find<QAction>("ActConvert")->setEnabled(true);
    EXPECT_TRUE(Find("BtnConvert")->isEnabled());
    Find<QAction>("ActAddToList")->setEnabled(false);
    EXPECT_FALSE(Find("BtnAdd")->isEnabled());
}

TEST_F(Layout, WindowKeepsItsMinimumSize)
{
    Start();
    Show();
    EXPECT_EQ(Form->size(), QSize(602, 368));
    Form->resize(300, 200);
    QApplication::processEvents();
    EXPECT_EQ(Form->size(), QSize(600, 368));
    // Every tab shows whole at the smallest width, without scrolling the row of tabs.
    QTabBar* bar = Find<QTabWidget>("PageControl")->tabBar();
    EXPECT_LE(bar->tabRect(bar->count() - 1).right(), bar->width() - 1);
}

TEST_F(Layout, EnlargingGrowsTheListsAndMovesTheRightHandControls)
{
    Start();
    Show();
    auto* tabs = Find<QTabWidget>("PageControl");
    // Tab, controls that grow in width and height, controls that grow in height
    // only, controls that move with the right edge.
    struct Row {
        int Tab;
        std::vector<const char*> GrowBoth, GrowHeight, MoveRight;
    };
    const Row rows[] = {
        {0, {"SrcFilesList"}, {}, {"BtnConvert", "ProgressGroup", "BtnGroup", "btnRemove"}},
        {1, {"CustHtmlGroup", "CustFrontHTMLMemo"}, {"NamesList"}, {"ColorGroup"}},
        {2, {"FrontPageHTMLMemo"}, {}, {"HTMLIMGGroup"}},
        {ConfigSheet, {}, {"IOOptsGroup", "HTMLGenGroup"}, {"HTMLGenGroup", "BtnSaveOpts", "BtnClearMRU", "BtnLoadProfile"}},
    };
    const QSize small(600, 368), large(900, 560);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Tab);
        Form->resize(small);
        tabs->setCurrentIndex(row.Tab);
        QApplication::processEvents();
        auto geometry = [this](const char* name) {
            QWidget* w = Find(name);
            return QRect(w->mapTo(Form.get(), QPoint(0, 0)), w->size());
        };
        std::map<std::string, QRect> before;
        for (const auto* list : {&row.GrowBoth, &row.GrowHeight, &row.MoveRight})
            for (const char* name : *list)
                before[name] = geometry(name);
        Form->resize(large);
        QApplication::processEvents();
        for (const char* name : row.GrowBoth) {
            EXPECT_GT(geometry(name).width(), before[name].width()) << name;
            EXPECT_GT(geometry(name).height(), before[name].height()) << name;
        }
        for (const char* name : row.GrowHeight) {
            EXPECT_EQ(geometry(name).width(), before[name].width()) << name;
            EXPECT_GT(geometry(name).height(), before[name].height()) << name;
        }
        for (const char* name : row.MoveRight) {
            EXPECT_EQ(geometry(name).width(), before[name].width()) << name;
            EXPECT_EQ(geometry(name).right() - before[name].right(), large.width() - small.width()) << name;
        }
    }
}

// A long path keeps its file name in sight; path and status show whole in
// tooltips, and the status stands centred under its centred header.
TEST_F(Layout, FileRowsShowTheFileNameAndTheirWholeTextsInTooltips)
{
    const std::string path = Dir.File(std::string(200, 'd') + "/ioq3-server-qconsole.log");
    WriteProfile(Dir, "Default.cfg", "T", {path});
    Start();
    Show();
    auto* list = Find<QTreeWidget>("SrcFilesList");
    QTreeWidgetItem* row = list->topLevelItem(0);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(list->textElideMode(), Qt::ElideMiddle);
    ASSERT_NE(dynamic_cast<TPathDelegate*>(list->itemDelegateForColumn(0)), nullptr);
    const QString shown = ElidedPath(row->text(0), list->fontMetrics(), list->columnWidth(0));
    EXPECT_TRUE(shown.endsWith(QStringLiteral("/ioq3-server-qconsole.log"))) << shown.toStdString();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("/"))) << shown.toStdString();
    EXPECT_LE(list->fontMetrics().horizontalAdvance(shown), list->columnWidth(0));
    EXPECT_EQ(row->toolTip(0).toStdString(), path);
    EXPECT_EQ(row->toolTip(1), row->text(1));
    EXPECT_EQ(row->textAlignment(1), int(Qt::AlignHCenter | Qt::AlignVCenter));
    EXPECT_EQ(list->headerItem()->textAlignment(1), int(Qt::AlignHCenter | Qt::AlignVCenter));
}

TEST_F(Layout, EscapeOnTheFirstTabRemovesOnlyWhenRemovingIsPossible)
{
    WriteProfile(Dir, "Default.cfg", "T", {Dir.File("a.txt"), Dir.File("b.txt")});
    Start();
    Show();
    auto* list = Find<QTreeWidget>("SrcFilesList");
    auto* tabs = Find<QTabWidget>("PageControl");
    QTest::keyClick(Form.get(), Qt::Key_Escape); // Remove is disabled: nothing is selected
    ASSERT_EQ(list->topLevelItemCount(), 2);

    list->setCurrentItem(list->topLevelItem(0));
    ASSERT_TRUE(Find<QAction>("ActRemoveFromList")->isEnabled());
    tabs->setCurrentIndex(1);
    QTest::keyClick(Form.get(), Qt::Key_Escape);
    EXPECT_EQ(list->topLevelItemCount(), 2);
    tabs->setCurrentIndex(0);
    QTest::keyClick(Form.get(), Qt::Key_Escape);
    EXPECT_EQ(list->topLevelItemCount(), 1);
}

TEST_F(Layout, CtrlTabCyclesThroughTheTabsFromEveryControl)
{
    Start();
    Show();
    auto* tabs = Find<QTabWidget>("PageControl");
    for (int page = 0; page < tabs->count(); ++page) {
        for (QWidget* w : tabs->widget(page)->findChildren<QWidget*>()) {
            tabs->setCurrentIndex(page);
            if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible() || !w->isEnabled())
                continue;
            SCOPED_TRACE(w->objectName().toStdString() + " " + w->metaObject()->className());
            w->setFocus();
            QTest::keyClick(w, Qt::Key_Tab, Qt::ControlModifier);
            EXPECT_EQ(tabs->currentIndex(), (page + 1) % tabs->count());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
            EXPECT_EQ(tabs->currentIndex(), page);
        }
    }
}

TEST_F(Layout, HintPanelShowsTheHintUnderTheMouse)
{
    Start();
    Show();
    auto* hint = Find<QLabel>("HintPanel");
    auto* tabs = Find<QTabWidget>("PageControl");
    struct Row {
        int Tab;
        const char* Control;
        const char* Hint;
    };
    const Row rows[] = {
        {0, "BtnAdd", "Click to add files to convert to HTML"},
        {0, "BtnAbout", " "}, // no hint of its own: the frame has none, the tab's is blank
        {0, "btnExit", " "},
        {ConfigSheet, "lblInDir", " "}, // a label inside a frame whose hint is blank
        {ConfigSheet, "SkipExistingCheck", "Do not overwrite existing files (no prompt)"},
        {1, "NameImgEditBrowse", "Select an image (HTML icon) to place in front of the highlighted name"},
    };
    for (const Row& row : rows) {
        tabs->setCurrentIndex(row.Tab);
        QApplication::processEvents();
        QWidget* w = Find(row.Control);
        ASSERT_NE(w, nullptr);
        QTest::mouseMove(w, w->rect().center());
        QApplication::processEvents();
        EXPECT_EQ(hint->text().toStdString(), row.Hint) << row.Control;
    }
}

TEST_F(Layout, PlacementIsSavedAtCloseAndRestoredAtTheNextStart)
{
    Start();
    Show();
    Form->setGeometry(40, 50, 700, 420);
    Find<QTreeWidget>("SrcFilesList")->setColumnWidth(0, 250);
    QApplication::processEvents();
    ASSERT_TRUE(Form->close());

    ExpectStoredPlacement(IniPath(), 1);
    EXPECT_EQ(TIniFile(IniPath()).ReadInteger("Main Window Placement", "Visible", -1), 0);

    Form.reset();
    Start();
    Show();
    EXPECT_EQ(Form->geometry(), QRect(40, 50, 700, 420));
    EXPECT_EQ(Find<QTreeWidget>("SrcFilesList")->columnWidth(0), 250);
}

TEST_F(Layout, MaximizedAndMinimizedWindowsComeBackSoAndTheNormalPlaceIsKept)
{
    for (auto state : {Qt::WindowMaximized, Qt::WindowMinimized}) {
        SCOPED_TRACE(state);
        Start();
        Show();
        Form->setGeometry(40, 50, 700, 420);
        QApplication::processEvents();
        Form->setWindowState(state);
        QApplication::processEvents();
        ASSERT_TRUE(Form->close());
        TIniFile ini(IniPath());
        EXPECT_EQ(ini.ReadInteger("Main Window Placement", "ShowCmd", 0), state == Qt::WindowMaximized ? 3 : 2);
        EXPECT_EQ(ini.ReadString("Main Window Placement", "NormPos", ""), "40,50,740,470");
        Form.reset();
        Start();
        Show();
        EXPECT_TRUE(Form->windowState().testFlag(state));
        EXPECT_EQ(Form->normalGeometry(), QRect(40, 50, 700, 420));
        Form.reset();
        std::filesystem::remove(IniPath());
    }
}

TEST_F(Layout, AWindowNeverShownLeavesTheStoredPlacementAndThePlainKeyServesAnotherScreen)
{
    TIniFile ini(IniPath());
    const std::string section = "Main Window Placement";
    ini.WriteString(section, "NormPos", "30,40,730,460");
    ini.WriteInteger(section, "PixelsPerInch", qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch()));
    // This screen's key is empty: the plain key is used.
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    ini.WriteString(section, "NormPos(" + std::to_string(screen.width()) + "x" + std::to_string(screen.height()) + ")", "");
    const std::string before = TempDir::Read(IniPath());

    Start();
    Form.reset(); // never shown: destroyed without touching the placement
    EXPECT_EQ(TempDir::Read(IniPath()), before);
    Start();
    ASSERT_TRUE(Form->close()); // closed without being shown: the settings, not the placement
    EXPECT_EQ(TIniFile(IniPath()).ReadString(section, "NormPos", ""), "30,40,730,460");
    Form.reset();
    Start();
    Show();
    EXPECT_EQ(Form->geometry(), QRect(30, 40, 700, 420));
}

TEST_F(Layout, RestoreCorrectsAPlacementOffEveryScreenOrTooSmall)
{
    Start();
    Show();
    ASSERT_TRUE(Form->close());
    TIniFile ini(IniPath());
    const std::string section = "Main Window Placement";
    // The suffixed key is written too; the plain one is what remains when the screen differs.
    for (const char* key : {"NormPos", "NormPos(640x480)", "NormPos(800x600)", "NormPos(1024x768)"})
        ini.WriteString(section, key, "-9000,-9000,-8900,-8950");
    Form.reset();
    Start();
    Show();
    QRect g = Form->geometry();
    EXPECT_GE(g.width(), 600);
    EXPECT_GE(g.height(), 368);
    EXPECT_TRUE(Form->screen()->availableGeometry().intersects(g)) << g.x() << "," << g.y();
}

} // namespace
} // namespace velmora::test
