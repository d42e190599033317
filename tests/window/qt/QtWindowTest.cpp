// The Qt window forwards what the user does to the window's logic: every
// option control, the names editor, the colour and browse buttons, the file
// list's selection and dropped files, a conversion run's look, closing, and
// the idle text. The behaviour itself is tested on fakes (tests/window).
#include <filesystem>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QEventLoop>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>

#include "settings/UCustomIni.h"
#include "window/qt/UQtControls.h"
#include "WindowFixture.h"

namespace velmora::test {
namespace {

namespace fs = std::filesystem;

class QtWindow : public WindowTest {
protected:
    bool Changed() { return Find<QAction>("ActSaveOpts")->isEnabled(); }
};

// What an option control shows, read from its widget.
TOptionValue Shown(QWidget* widget)
{
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return ToStdString(edit->text());
    if (auto* memo = qobject_cast<QPlainTextEdit*>(widget))
        return TQtMemoText(memo).GetText();
    if (auto* box = qobject_cast<QCheckBox*>(widget))
        return box->isChecked();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentIndex();
    return TQtColorSwatch(qobject_cast<QFrame*>(widget)).GetColor();
}

TEST_F(QtWindow, EveryOptionControlMarksTheProfileChangedAndIsCopiedWhenTheFocusLeavesIt)
{
    Start();
    Show();
    auto* tabs = Find<QTabWidget>("PageControl");
    auto* save = Find<QAction>("ActSaveOpts");
    for (const TOptionControl& row : OptionControls()) {
        if (row.Kind == TOptionKind::Swatch)
            continue; // the colour buttons change them (below)
        SCOPED_TRACE(row.Name);
        tabs->setCurrentIndex(row.Sheet);
        auto* widget = Find(row.Name);
        if (std::string_view(row.Name) == "PromptOnOverwCheck")
            Find<QCheckBox>("SkipExistingCheck")->click(); // the prompt is disabled while existing files are skipped
        if (!widget->isEnabled()) { // the modern page's options, while the style is Classic
            auto* style = Find<QComboBox>("PageStyleCombo");
            style->setFocus();
            QTest::keyClick(style, Qt::Key_Down);
        }
        save->trigger();
        ASSERT_FALSE(Changed());
        widget->setFocus();
        QApplication::processEvents();
        switch (row.Kind) {
        case TOptionKind::Edit: case TOptionKind::Memo: QTest::keyClicks(widget, "x"); break;
        case TOptionKind::Check: QTest::keyClick(widget, Qt::Key_Space); break;
        case TOptionKind::Choice: QTest::keyClick(widget, Qt::Key_Down); break;
        case TOptionKind::Swatch: break;
        }
        EXPECT_TRUE(Changed());
        tabs->setFocus(); // leaving the control copies its page
        QApplication::processEvents();
        // The file before and after a save, the settings file's "Use ini defaults" included.
        auto before = ReadProfile(DefaultProfile());
        TCustomIni iniBefore(IniPath(), nullptr, Dir.Path());
        iniBefore.LoadSettings();
        save->trigger();
        auto saved = ReadProfile(DefaultProfile());
        TCustomIni iniAfter(IniPath(), nullptr, Dir.Path());
        iniAfter.LoadSettings();
        TOptionGroups groups{*before, iniBefore};
        TOptionGroups after{*saved, iniAfter};
        EXPECT_EQ(row.Get(after), Shown(widget));
        EXPECT_NE(row.Get(after), row.Get(groups)) << "the edit reached the file";
    }
}

TEST_F(QtWindow, NamesEditorShowsWhatTheUserClicksAndAddsWhatIsTyped)
{
    Start();
    Show();
    Find<QTabWidget>("PageControl")->setCurrentIndex(1);
    auto* name = Find<QLineEdit>("NameEdit");
    name->setFocus();
    QTest::keyClicks(name, "Sarge:");
    ASSERT_TRUE(Find<QAction>("ActAddName")->isEnabled());
    auto* combo = Find<QComboBox>("ColorCombo");
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_End); // white, the last basic colour
    EXPECT_EQ(TQtColorSwatch(Find<QFrame>("ShowNameCol")).GetColor(), TColor(0xFFFFFF));
    QTest::mouseClick(Find<QPushButton>("BtnAddName"), Qt::LeftButton);
    auto* list = Find<QListWidget>("NamesList");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(name->text(), "") << "no line was selected: the editors are cleared";

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(name->text(), "Sarge:");
    EXPECT_TRUE(Find<QAction>("ActRemoveName")->isEnabled());
    name->setText("Klesk:");
    // Tab passing through the list towards Update keeps the edit.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Tab);
    EXPECT_EQ(name->text(), "Klesk:");
    QTest::mouseClick(Find<QPushButton>("BtnUpdate"), Qt::LeftButton);
    EXPECT_EQ(list->item(0)->text(), "Klesk:");
    QTest::mouseClick(Find<QPushButton>("BtnRemoveName"), Qt::LeftButton);
    EXPECT_EQ(list->count(), 0);
    Boxes.YesNoCancelAnswers = {TYesNoCancel::No};
    Form->close();
    Boxes.TakeQuestions();
}

TEST_F(QtWindow, ColourAndBrowseButtonsFillTheirControlsFromTheDialogs)
{
    Start();
    Show();
    Dialogs.ColorAnswers = {TColor(0x112233)};
    Find<QTabWidget>("PageControl")->setCurrentIndex(2);
    Find<QPushButton>("BtnBackCol")->click();
    EXPECT_EQ(TQtColorSwatch(Find<QFrame>("ShowBackCol")).GetColor(), TColor(0x112233));
    EXPECT_EQ(ReadProfile(DefaultProfile())->HTMLOptions().FBackColor, BuiltInBackColor);
    Find<QAction>("ActSaveOpts")->trigger();
    EXPECT_EQ(ReadProfile(DefaultProfile())->HTMLOptions().FBackColor, TColor(0x112233));

    Dialogs.FolderAnswers = {std::string("/pages/")};
    Find<QTabWidget>("PageControl")->setCurrentIndex(ConfigSheet);
    Find<QToolButton>("DestDirEditBrowse")->click();
    EXPECT_EQ(Find<QLineEdit>("DestDirEdit")->text(), "/pages/");
    EXPECT_TRUE(Changed());
    Boxes.YesNoCancelAnswers = {TYesNoCancel::No};
    Form->close();
    Boxes.TakeQuestions();
}

TEST_F(QtWindow, EachFileCommandOpensItsDialog)
{
    Start();
    Show();
    Dialogs.OpenAnswers = {std::nullopt, std::nullopt};
    Dialogs.SaveAnswers = {std::nullopt};
    QTest::mouseClick(Find<QPushButton>("BtnAdd"), Qt::LeftButton);
    Find<QTabWidget>("PageControl")->setCurrentIndex(ConfigSheet);
    QTest::mouseClick(Find<QPushButton>("BtnLoadProfile"), Qt::LeftButton);
    QTest::mouseClick(Find<QPushButton>("BitBtn1"), Qt::LeftButton);
    ASSERT_EQ(Dialogs.OpenSettings.size(), 2u);
    EXPECT_TRUE(Dialogs.OpenSettings[0].MultiSelect) << "Add To List";
    EXPECT_FALSE(Dialogs.OpenSettings[1].MultiSelect) << "the open-profile button";
    EXPECT_EQ(Dialogs.SaveSettings.at(0).Title, "Choose a new file name");
    QTest::mouseClick(Find<QPushButton>("BtnClearMRU"), Qt::LeftButton);
    EXPECT_EQ(Find<QComboBox>("ProfileListCombo")->count(), 1);
}

// Drags files onto the file list and drops them; true when the drop was taken.
bool Drop(QWidget* viewport, const std::vector<std::string>& paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : paths)
        urls << QUrl::fromLocalFile(QString::fromStdString(path));
    data.setUrls(urls);
    QPoint at = viewport->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
    return enter.isAccepted() && drop.isAccepted();
}

TEST_F(QtWindow, FileListTakesDroppedFilesAndFollowsTheRowWhoseSelectionChanged)
{
    Start();
    Show();
    fs::create_directory(Dir.File("dumps"));
    std::vector<std::string> d;
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        d.push_back(WriteDump(Dir, std::string("dumps/") + name, 3));
    auto* list = Find<QTreeWidget>("SrcFilesList");
    // A folder among the dropped items is passed over; a folder alone is refused.
    EXPECT_TRUE(Drop(list->viewport(), {d[2], d[0], Dir.File("dumps"), d[1]}));
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->topLevelItem(0)->text(0).toStdString(), d[0]);
    EXPECT_EQ(list->topLevelItem(0)->text(1), "Ready");
    EXPECT_FALSE(Drop(list->viewport(), {Dir.File("dumps")}));

    auto click = [list](int row, Qt::KeyboardModifiers modifiers) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                          list->visualItemRect(list->topLevelItem(row)).center());
    };
    auto* remove = Find<QAction>("ActRemoveFromList");
    click(0, Qt::NoModifier);
    click(2, Qt::ControlModifier);
    EXPECT_TRUE(remove->isEnabled());
    click(2, Qt::ControlModifier); // deselected: Remove follows that row though row 0 stays selected
    EXPECT_FALSE(remove->isEnabled());
    click(2, Qt::ControlModifier);
    remove->trigger();
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(0).toStdString(), d[1]);
    Boxes.YesNoCancelAnswers = {TYesNoCancel::No};
    Form->close();
    Boxes.TakeQuestions();
}

TEST_F(QtWindow, ARunTurnsConvertIntoStopAndDisablesTheRestUntilItEnds)
{
    fs::create_directory(Dir.File("dumps"));
    WriteProfile(Dir, "Default.cfg", "T", {WriteDump(Dir, "dumps/a.txt"), Dir.File("dumps/missing.txt")});
    Start();
    Show();
    auto* button = Find<QToolButton>("BtnConvert");
    const QIcon ownIcon = button->icon();
    Find<QTabWidget>("PageControl")->setCurrentIndex(ConfigSheet);
    bool checked = false;
    // The error box of the run comes up while the window is still in its running state.
    Boxes.WhileShown = [&] {
        checked = true;
        EXPECT_EQ(button->text(), "Stop &Conversion");
        EXPECT_EQ(button->statusTip(), "Click to stop the ongoing conversion");
        EXPECT_NE(button->icon().cacheKey(), ownIcon.cacheKey());
        EXPECT_TRUE(button->isEnabled());
        EXPECT_FALSE(Find("btnExit")->isEnabled());
        EXPECT_FALSE(Form->close());
        for (const char* sheet : {"HighlightOptSheet", "ColorProfileSheet", "PageStyleSheet", "ConfigSheet"})
            EXPECT_FALSE(Find(sheet)->isEnabled()) << sheet;
        EXPECT_EQ(Find<QLabel>("StatePanel")->text().toStdString(), "1 page written to " + Dir.Path());
    };
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_TRUE(checked);
    EXPECT_EQ(Boxes.Take().at(0).Text, "One or more files were not converted");
    EXPECT_EQ(Find<QTreeWidget>("SrcFilesList")->topLevelItem(0)->text(1), "Converted");
    EXPECT_EQ(button->text(), "Convert to &HTML");
    EXPECT_EQ(button->icon().cacheKey(), ownIcon.cacheKey());
    EXPECT_TRUE(Find("ConfigSheet")->isEnabled());
    EXPECT_EQ(Find<QTabWidget>("PageControl")->currentIndex(), 0);
    EXPECT_EQ(QApplication::focusWidget(), Find("BtnAdd"));

    // What the run wrote stays in the state panel past idle moments.
    QEventLoop idle;
    QTimer::singleShot(30, &idle, &QEventLoop::quit);
    idle.exec();
    EXPECT_EQ(Find<QLabel>("StatePanel")->text().toStdString(), "1 page written to " + Dir.Path());

    // The converted row opens its page on a double-click and from its context
    // menu; the row that failed has no menu.
    auto* list = Find<QTreeWidget>("SrcFilesList");
    const QPoint converted = list->visualItemRect(list->topLevelItem(0)).center();
    const QPoint failed = list->visualItemRect(list->topLevelItem(1)).center();
    QTest::mousePress(list->viewport(), Qt::LeftButton, Qt::NoModifier, converted);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, Qt::NoModifier, converted);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, converted);
    emit list->customContextMenuRequested(failed);
    EXPECT_EQ(Form->findChild<QMenu*>("PageMenu"), nullptr);
    emit list->customContextMenuRequested(converted);
    auto* menu = Form->findChild<QMenu*>("PageMenu");
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->text(), "Open page");
    EXPECT_EQ(menu->actions()[1]->text(), "Open folder");
    menu->actions()[1]->trigger();
    menu->close();
    const std::string page = "file://" + Dir.Path() + "a.htm";
    EXPECT_EQ(Urls, (std::vector<std::string>{page, "file://" + Dir.Path()}));
}

TEST_F(QtWindow, ClosingWithAnEditAsksAndSavesIt)
{
    Start();
    Show();
    Find<QTabWidget>("PageControl")->setCurrentIndex(2);
    auto* title = Find<QLineEdit>("TitleEdit");
    title->setFocus();
    QTest::keyClicks(title, "+late");
    Boxes.YesNoCancelAnswers = {TYesNoCancel::Yes};
    ASSERT_TRUE(Form->close());
    EXPECT_EQ(Boxes.TakeQuestions(), std::vector<std::string>{"Configuration changed|Do you want to save the changes ?"});
    EXPECT_EQ(TitleIn(DefaultProfile()), "Quake 3 Arena Console Dump+late");
    EXPECT_TRUE(TIniFile(IniPath()).SectionExists("Main Window Placement"));
}

} // namespace
} // namespace velmora::test
