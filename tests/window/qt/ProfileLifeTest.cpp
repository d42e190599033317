// The window's life around its profile: first start, a damaged profile, edits
// reaching the profile, switching, opening, saving as, clearing the recent
// list, the settings file at close, and the status bar's idle text.
#include <cstdlib>
#include <filesystem>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include "platform/UIniFile.h"
#include "settings/UHighLighter.h"
#include "WindowFixture.h"

namespace velmora::test {
namespace {

namespace fs = std::filesystem;

const std::string DefaultTitle = "Quake 3 Arena Console Dump";

class ProfileLife : public WindowTest {
protected:
    // A profile file with the given page title and dump files.
    std::string WriteProfile(const std::string& name, const std::string& title,
                             const std::vector<std::string>& files = {})
    {
        TSettingsAction action(nullptr);
        TPlatform platform;
        platform.ProgramDir = Dir.Path();
        THighlightProfile profile(&action, platform);
        profile.HTMLOptions().SetTitle(title);
        profile.IOOptions().AddFiles(files);
        std::string path = Dir.File(name);
        EXPECT_TRUE(profile.SaveToFile(path));
        return path;
    }
    std::string TitleIn(const std::string& path)
    {
        TSettingsAction action(nullptr);
        TPlatform platform;
        THighlightProfile profile(&action, platform);
        EXPECT_TRUE(profile.LoadFromFile(path)) << path;
        return profile.HTMLOptions().FTitle;
    }
    void WriteRecent(const std::vector<std::string>& paths)
    {
        TIniFile ini(IniPath());
        for (std::size_t i = 0; i < paths.size(); ++i)
            ini.WriteString("Profiles", "Profile #" + std::to_string(i), paths[i]);
    }
    std::string Title() { return Find<QLineEdit>("TitleEdit")->text().toStdString(); }
    bool Changed() { return Find<QAction>("ActSaveOpts")->isEnabled(); }
    std::vector<std::string> Recent()
    {
        auto* combo = Find<QComboBox>("ProfileListCombo");
        std::vector<std::string> items;
        for (int i = 0; i < combo->count(); ++i)
            items.push_back(combo->itemText(i).toStdString());
        return items;
    }
    // Types into the page title as a user would, leaving the focus there.
    void TypeTitle(const QString& text)
    {
        Find<QTabWidget>("PageControl")->setCurrentIndex(2);
        auto* title = Find<QLineEdit>("TitleEdit");
        title->setFocus();
        QApplication::processEvents();
        QTest::keyClick(title, Qt::Key_End);
        QTest::keyClicks(title, text);
    }
};

TEST_F(ProfileLife, FirstStartCreatesTheDefaultProfileAndTheSettingsFile)
{
    Start();
    Show();
    ASSERT_EQ(Boxes.Messages.size(), 1u);
    EXPECT_EQ(Boxes.Messages[0].Caption, "Configuration file not found");
    EXPECT_EQ(Boxes.Messages[0].Text, "Creating a new file with default values");
    EXPECT_EQ(Boxes.Messages[0].Icon, TMsgIcon::Information);
    EXPECT_EQ(Recent(), std::vector<std::string>{DefaultProfile()});
    EXPECT_FALSE(Changed());
    EXPECT_EQ(Find<QTabWidget>("PageControl")->currentIndex(), 0);
    EXPECT_EQ(QApplication::focusWidget(), Find("BtnAdd"));

    // The same bytes as the command-line tool's new profile made in the same program directory.
    std::string cli = Dir.File("velmora-cli");
    fs::copy_file(std::string(VELMORA_BIN_DIR) + "/velmora-cli", cli);
    std::string command = "\"" + cli + "\" profile new \"" + Dir.File("Expected.cfg") + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(TempDir::Read(DefaultProfile()), TempDir::Read(Dir.File("Expected.cfg")));

    ASSERT_TRUE(Form->close());
    TIniFile ini(IniPath());
    EXPECT_EQ(ini.ReadString("Profiles", "Profile #0", ""), DefaultProfile());
    EXPECT_EQ(ini.ReadString("Defaults storage", "Use ini defaults", ""), "0");
    EXPECT_EQ(ini.ReadString("Defaults", "HTML Background", ""), "4194368");
    EXPECT_EQ(ini.ReadString("Defaults", "Visited Link color", ""), "16711680");
    EXPECT_EQ(ini.ReadString("Defaults", "Default Profile Extention", ""), ".cfg");
    EXPECT_TRUE(ini.SectionExists("Main Window Placement"));
}

TEST_F(ProfileLife, DamagedCurrentProfileEndsTheProgramAndKeepsTheFile)
{
    Dir.Write("Default.cfg", "not a profile");
    Form = std::make_unique<THTMLform>(Services());
    EXPECT_FALSE(Form->FormCreate());
    ASSERT_EQ(Boxes.Messages.size(), 2u);
    EXPECT_EQ(Boxes.Messages[0].Caption, "Error reading from the specified file");
    EXPECT_EQ(Boxes.Messages[1].Caption, "Fatal Error");
    EXPECT_EQ(Boxes.Messages[1].Text, "Error loading configuration file.\rDelete the Corrupted file and try again.");
    EXPECT_EQ(Boxes.Messages[1].Icon, TMsgIcon::Error);
    EXPECT_TRUE(Boxes.Questions.empty());
    EXPECT_EQ(TempDir::Read(DefaultProfile()), "not a profile");
    EXPECT_EQ(TIniFile(IniPath()).ReadString("Profiles", "Profile #0", ""), DefaultProfile());
}

TEST_F(ProfileLife, SwitchingWithAnEditAsksOnceAndSavesOnlyOnYes)
{
    for (bool yes : {true, false}) {
        SCOPED_TRACE(yes);
        std::string a = WriteProfile("A.cfg", "A");
        std::string b = WriteProfile("B.cfg", "B");
        WriteRecent({a, b});
        std::string iniBefore = TempDir::Read(IniPath());
        Start();
        Show();
        TypeTitle("+edit");
        Boxes.YesNoAnswers = {yes};

        auto* combo = Find<QComboBox>("ProfileListCombo");
        Find<QTabWidget>("PageControl")->setCurrentIndex(3);
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);

        ASSERT_EQ(Boxes.Questions.size(), 1u);
        EXPECT_EQ(Boxes.Questions[0], "Configuration changed|Do you want to save the changes ?");
        EXPECT_EQ(TitleIn(a), yes ? "A+edit" : "A");
        EXPECT_EQ(Title(), "B");
        EXPECT_EQ(Recent(), (std::vector<std::string>{b, a}));
        EXPECT_FALSE(Changed());
        // Only the save that Yes runs writes the settings file; the switch does not.
        if (!yes) {
            EXPECT_EQ(TempDir::Read(IniPath()), iniBefore);
        }
        Form.reset();
        Boxes.Questions.clear();
        fs::remove(IniPath());
    }
}

TEST_F(ProfileLife, OpeningAMissingFileCreatesItAndADamagedOneBringsThePreviousBack)
{
    std::string a = WriteProfile("A.cfg", "A", {Dir.File("one.txt")});
    WriteRecent({a});
    Start();
    Show();

    std::string bad = Dir.Write("Bad.cfg", "damaged");
    std::string iniBefore = TempDir::Read(IniPath());
    Dialogs.OpenAnswers = {std::vector<std::string>{bad}};
    Find<QAction>("ActOpenProfile")->trigger();
    EXPECT_EQ(Boxes.Messages.back().Caption, "Error reading from the specified file");
    EXPECT_EQ(Title(), "A");
    EXPECT_EQ(Find<QTreeWidget>("SrcFilesList")->topLevelItemCount(), 1);
    EXPECT_EQ(Recent(), std::vector<std::string>{a});
    EXPECT_EQ(TempDir::Read(IniPath()), iniBefore);

    std::string fresh = Dir.File("New.cfg");
    Dialogs.OpenAnswers = {std::vector<std::string>{fresh}};
    Find<QAction>("ActOpenProfile")->trigger();
    EXPECT_EQ(Boxes.Messages.back().Caption, "Configuration file not found");
    EXPECT_EQ(Title(), DefaultTitle);
    EXPECT_EQ(Find<QTreeWidget>("SrcFilesList")->topLevelItemCount(), 0);
    EXPECT_EQ(TitleIn(fresh), DefaultTitle);
    EXPECT_EQ(Recent(), (std::vector<std::string>{fresh, a}));
    EXPECT_EQ(TIniFile(IniPath()).ReadString("Profiles", "Profile #0", ""), fresh);
    EXPECT_EQ(Dialogs.OpenSettings.back().Filter, "Configuration files|*.cfg|All files|*.*");
    EXPECT_FALSE(Dialogs.OpenSettings.back().MultiSelect);
}

TEST_F(ProfileLife, OpeningTheCurrentProfileKeepsItsEditsMarked)
{
    Start();
    Show();
    TypeTitle("+edit");
    Dialogs.OpenAnswers = {std::vector<std::string>{DefaultProfile()}};
    Find<QAction>("ActOpenProfile")->trigger();
    EXPECT_EQ(Title(), DefaultTitle + "+edit");
    EXPECT_TRUE(Changed());
}

TEST_F(ProfileLife, SaveAsShowsTheProfileReadBackFromTheNewFile)
{
    std::string other = WriteProfile("Other.cfg", "Other");
    Start();
    Show();
    TypeTitle("+mine");
    Dialogs.SaveAnswers = {other};
    Find<QAction>("ActSaveNewOpts")->trigger();
    EXPECT_EQ(Dialogs.SaveSettings.back().Title, "Choose a new file name");
    EXPECT_TRUE(Dialogs.SaveSettings.back().OverwritePrompt);
    EXPECT_EQ(TitleIn(other), DefaultTitle + "+mine");
    EXPECT_EQ(Title(), DefaultTitle + "+mine");
    EXPECT_EQ(Recent(), (std::vector<std::string>{other, DefaultProfile()}));
    EXPECT_FALSE(Changed());
}

TEST_F(ProfileLife, ClearMRULeavesTheDefaultProfileAndTheWindowAsItWas)
{
    std::string b = WriteProfile("B.cfg", "B");
    WriteRecent({b, DefaultProfile()});
    WriteProfile("Default.cfg", "D");
    Start();
    Find<QAction>("ActClearMRU")->trigger();
    EXPECT_EQ(Recent(), std::vector<std::string>{DefaultProfile()});
    EXPECT_EQ(Title(), "B");
    EXPECT_FALSE(Changed());
}

TEST_F(ProfileLife, SkippingExistingFilesDisablesThePrompt)
{
    Start();
    Show();
    Find<QTabWidget>("PageControl")->setCurrentIndex(3);
    QApplication::processEvents();
    auto* skip = Find<QCheckBox>("SkipExistingCheck");
    auto* prompt = Find<QCheckBox>("PromptOnOverwCheck");
    ASSERT_TRUE(skip->isChecked());
    EXPECT_FALSE(prompt->isEnabled());
    QTest::mouseClick(skip, Qt::LeftButton, {}, QPoint(6, skip->height() / 2)); // on the box itself
    EXPECT_TRUE(prompt->isEnabled());
    EXPECT_TRUE(Changed());
    QTest::mouseClick(skip, Qt::LeftButton, {}, QPoint(6, skip->height() / 2)); // on the box itself
    EXPECT_FALSE(prompt->isEnabled());
}

TEST_F(ProfileLife, CaseBoxIsTickedExactlyWhenHighlightingComparesExactly)
{
    Start();
    Show();
    Find<QTabWidget>("PageControl")->setCurrentIndex(3);
    auto* box = Find<QCheckBox>("CaseSensCheck");
    ASSERT_TRUE(box->isChecked()); // a new profile compares exactly
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); // on the box itself
    QTest::keyClick(box, Qt::Key_S, Qt::AltModifier);

    TSettingsAction action(nullptr);
    THighlightProfile saved(&action, TPlatform{});
    ASSERT_TRUE(saved.LoadFromFile(DefaultProfile()));
    EXPECT_TRUE(saved.AppOptions().FCaseSensitive); // stored flag set: highlighting ignores case

    saved.AppOptions().SetCaseSensitive(false);
    ASSERT_TRUE(saved.SaveToFile(Dir.File("exact.cfg")));
    Dialogs.OpenAnswers = {std::vector<std::string>{Dir.File("exact.cfg")}};
    Find<QAction>("ActOpenProfile")->trigger();
    EXPECT_TRUE(box->isChecked());
}

TEST_F(ProfileLife, AltSWhileTypingSavesTheTypedTitle)
{
    Start();
    Show();
    TypeTitle("+typed");
    QTest::keyClick(Find<QLineEdit>("TitleEdit"), Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(TitleIn(DefaultProfile()), DefaultTitle + "+typed");
    EXPECT_FALSE(Changed());
    EXPECT_EQ(Find<QLineEdit>("TitleEdit")->hasFocus(), true);
}

TEST_F(ProfileLife, DumpTextFrameIsCopiedIntoTheProfileAndShownFromIt)
{
    Start();
    Show();
    Find<QTabWidget>("PageControl")->setCurrentIndex(2);
    auto* escape = Find<QCheckBox>("EscapeTextCheck");
    auto* codes = Find<QComboBox>("ColorCodesCombo");
    ASSERT_EQ(codes->count(), 3);
    EXPECT_EQ(codes->itemText(2).toStdString(), "Show as colours");
    EXPECT_EQ(codes->currentIndex(), 0);

    QTest::mouseClick(escape, Qt::LeftButton, {}, QPoint(6, escape->height() / 2));
    codes->setFocus();
    QApplication::processEvents();
    QTest::keyClick(codes, Qt::Key_Down);
    QTest::keyClick(codes, Qt::Key_Down); // the user's choice: "Show as colours"
    EXPECT_TRUE(Changed());
    QTest::keyClick(codes, Qt::Key_S, Qt::AltModifier);
    EXPECT_FALSE(Changed());

    TSettingsAction action(nullptr);
    THighlightProfile saved(&action, TPlatform{});
    ASSERT_TRUE(saved.LoadFromFile(DefaultProfile()));
    EXPECT_TRUE(saved.AppOptions().FEscapeText);
    EXPECT_EQ(saved.AppOptions().FColorCodes, TColorCodes::Colors);

    // A profile without the options shows both off again.
    Dialogs.OpenAnswers = {std::vector<std::string>{WriteProfile("plain.cfg", "Plain")}};
    Find<QAction>("ActOpenProfile")->trigger();
    ASSERT_EQ(Title(), "Plain");
    EXPECT_FALSE(escape->isChecked());
    EXPECT_EQ(codes->currentIndex(), 0);
}

TEST_F(ProfileLife, FailedSaveKeepsTheProfileMarkedChanged)
{
    Start();
    Show();
    TypeTitle("+unsaved");
    // Something the profile cannot be written over.
    fs::remove(DefaultProfile());
    fs::create_directory(DefaultProfile());
    Find<QAction>("ActSaveOpts")->trigger();
    EXPECT_EQ(Boxes.Messages.back().Caption, "Error writing to the configuration file");
    EXPECT_TRUE(Changed());
    Boxes.YesNoAnswers = {false};
    EXPECT_TRUE(Form->close());
    EXPECT_EQ(Boxes.Questions.size(), 1u); // asked again at close
}

TEST_F(ProfileLife, ClosingWithAnEditAsksAndSaves)
{
    Start();
    Show();
    TypeTitle("+late");
    Boxes.YesNoAnswers = {true};
    ASSERT_TRUE(Form->close());
    EXPECT_EQ(TitleIn(DefaultProfile()), DefaultTitle + "+late");
}

TEST_F(ProfileLife, ClosingIsRefusedWhileAConversionRuns)
{
    Start();
    Show();
    // A run disables Exit for as long as it goes on.
    Find("btnExit")->setEnabled(false);
    EXPECT_FALSE(Form->close());
    EXPECT_TRUE(Form->isVisible());
    EXPECT_FALSE(fs::exists(IniPath()));
    Find("btnExit")->setEnabled(true);
    EXPECT_TRUE(Form->close());
    EXPECT_TRUE(fs::exists(IniPath()));
}

TEST_F(ProfileLife, SettingsFileThatCannotBeWrittenIsReportedAndTheWindowStillCloses)
{
    fs::create_directory(IniPath()); // a directory where the file should be
    Start();
    Show();
    EXPECT_TRUE(Form->close());
    ASSERT_FALSE(Boxes.Messages.empty());
    EXPECT_EQ(Boxes.Messages.back().Text, "Unable to write to " + IniPath());
}

TEST_F(ProfileLife, BrowseButtonsFillTheirFieldFromTheDialogAndMarkTheProfileChanged)
{
    Start();
    Show();
    Dialogs.FolderAnswers = {std::string("/pages/"), std::nullopt};
    Dialogs.OpenAnswers = {std::vector<std::string>{"/pictures/back.jpg"}};
    Find<QToolButton>("DestDirEditBrowse")->click();
    EXPECT_EQ(Find<QLineEdit>("DestDirEdit")->text(), "/pages/");
    EXPECT_TRUE(Changed());
    QString images = Find<QLineEdit>("DestImgEdit")->text();
    Find<QToolButton>("DestImgEditBrowse")->click(); // cancelled
    EXPECT_EQ(Find<QLineEdit>("DestImgEdit")->text(), images);
    Find<QToolButton>("BackImageEditBrowse")->click();
    EXPECT_EQ(Find<QLineEdit>("BackImageEdit")->text(), "/pictures/back.jpg");
    EXPECT_EQ(Dialogs.OpenSettings.back().Filter,
              "JPEG files (*.jpg;*.jpeg)|*.jpg;*.jpeg|GIF files (*.gif)|*.gif|All files (*.*)|*.*");
}

TEST_F(ProfileLife, StatePanelReadsReadyWhenIdle)
{
    Start();
    Show();
    Form->SetStatePanel("Converting...");
    QEventLoop idle;
    QTimer::singleShot(30, &idle, &QEventLoop::quit);
    idle.exec();
    EXPECT_EQ(Find<QLabel>("StatePanel")->text(), "Ready");
}

} // namespace
} // namespace velmora::test
