// The window's life around its profile: first start, a damaged profile, edits
// reaching the profile, switching, opening, saving as, clearing the recent
// list, closing, the settings file at close, and the status bar's texts.
#include <filesystem>
#include <type_traits>

#include "cli/UCommands.h"
#ifndef _WIN32
#include "support/FileSizeLimit.h"
#endif
#include "settings/UCustomIni.h"
#include "FormFixture.h"

namespace velmora::test {
namespace {

namespace fs = std::filesystem;

using ProfileLife = FormTest;

// Switching to the second entry of the recent list, as the user chooses it.
void ChooseRecent(TFakeWindow& w, THTMLform& form, int index)
{
    w.ProfileListCombo.Selected = index;
    form.Guarded([&] { form.ProfileListComboChange(); });
}

TEST_F(ProfileLife, FirstStartCreatesTheDefaultProfileAndTheSettingsFile)
{
    Start();
    auto messages = Boxes.Take();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Caption, "Configuration file not found");
    EXPECT_EQ(messages[0].Text, "Creating a new file with default values");
    EXPECT_EQ(messages[0].Icon, TMsgIcon::Information);
    EXPECT_EQ(W.ProfileListCombo.Items, std::vector<std::string>{DefaultProfile()});
    EXPECT_EQ(W.ProfileListCombo.Selected, 0);
    EXPECT_FALSE(Changed());
    EXPECT_EQ(W.Pages.Active, ConvertSheet);
    EXPECT_EQ(W.Focused, "BtnAdd");
    // The option controls show the new profile; the swatches its colours.
    EXPECT_EQ(Text("TitleEdit"), DefaultTitle);
    EXPECT_EQ(W.Swatches.at("ShowBackCol").Color, BuiltInBackColor);
    EXPECT_FALSE(Check("PromptOnOverwCheck").Enabled) << "skipping existing files is on";

    // The same bytes as the command-line tool's new profile made in the same program directory.
    cli::TCliContext context;
    context.ProgramDir = Dir.Path();
    ASSERT_EQ(cli::RunProfileNew(Dir.File("Expected.cfg"), "", false, context), cli::ExitOk);
    EXPECT_EQ(TempDir::Read(DefaultProfile()), TempDir::Read(Dir.File("Expected.cfg")));

    ASSERT_TRUE(Form->CloseQuery());
    TIniFile ini(IniPath());
    EXPECT_EQ(ini.ReadString("Profiles", "Profile #0", ""), DefaultProfile());
    EXPECT_EQ(ini.ReadString("Defaults storage", "Use ini defaults", ""), "0");
    EXPECT_EQ(ini.ReadString("Defaults", "HTML Background", ""), "4194368");
    EXPECT_EQ(ini.ReadString("Defaults", "Visited Link color", ""), "16711680");
    EXPECT_EQ(ini.ReadString("Defaults", "Default Profile Extention", ""), ".cfg");
    EXPECT_FALSE(ini.SectionExists("Main Window Placement")) << "a window never shown keeps no placement";
}

TEST_F(ProfileLife, DamagedCurrentProfileEndsTheProgramAndKeepsTheFile)
{
    Dir.Write("Default.cfg", "not a profile");
    Make();
    EXPECT_FALSE(Form->FormCreate());
    auto messages = Boxes.Take();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].Caption, "Error reading from the specified file");
    EXPECT_EQ(messages[1].Caption, "Fatal Error");
    EXPECT_EQ(messages[1].Text, "Error loading configuration file.\rDelete the Corrupted file and try again.");
    EXPECT_EQ(messages[1].Icon, TMsgIcon::Error);
    EXPECT_EQ(TempDir::Read(DefaultProfile()), "not a profile");
    // The window has closed, writing the settings file, which keeps the file current.
    EXPECT_TRUE(Form->CloseQuery());
    EXPECT_EQ(TIniFile(IniPath()).ReadString("Profiles", "Profile #0", ""), DefaultProfile());
}

TEST_F(ProfileLife, SwitchingWithAnEditAsksOnceAndSavesOnlyOnYes)
{
    for (bool yes : {true, false}) {
        SCOPED_TRACE(yes);
        std::string a = WriteProfile(Dir, "A.cfg", "A");
        std::string b = WriteProfile(Dir, "B.cfg", "B");
        WriteRecentProfiles(IniPath(), {a, b});
        std::string iniBefore = TempDir::Read(IniPath());
        Start();
        Type("TitleEdit", "+edit");
        Boxes.YesNoAnswers = {yes};
        // The recent list is on the Configuration tab, which now takes the focus.
        Leave();
        W.Focus("ProfileListCombo", ConfigSheet);
        ChooseRecent(W, *Form, 1);

        EXPECT_EQ(Boxes.TakeQuestions(), std::vector<std::string>{"Configuration changed|Do you want to save the changes ?"});
        EXPECT_EQ(TitleIn(a), yes ? "A+edit" : "A");
        EXPECT_EQ(Text("TitleEdit"), "B");
        EXPECT_EQ(W.ProfileListCombo.Items, (std::vector<std::string>{b, a}));
        EXPECT_FALSE(Changed());
        // Only the save that Yes runs writes the settings file; the switch does not.
        if (!yes) {
            EXPECT_EQ(TempDir::Read(IniPath()), iniBefore);
        }
        Form.reset();
        fs::remove(IniPath());
    }
}

TEST_F(ProfileLife, ChoosingTheCurrentEntryOrAnUnreadableProfileKeepsTheCurrentOne)
{
    std::string a = WriteProfile(Dir, "A.cfg", "A");
    std::string bad = Dir.Write("Bad.cfg", "damaged");
    WriteRecentProfiles(IniPath(), {a, bad});
    Start();
    ChooseRecent(W, *Form, 0);
    EXPECT_TRUE(Boxes.Take().empty());
    ChooseRecent(W, *Form, 1);
    EXPECT_EQ(Boxes.Take().at(0).Caption, "Error reading from the specified file");
    EXPECT_EQ(Text("TitleEdit"), "A");
    EXPECT_EQ(W.ProfileListCombo.Items, (std::vector<std::string>{a, bad}));
    EXPECT_EQ(W.ProfileListCombo.Selected, 0) << "the list shows the current profile again";
}

TEST_F(ProfileLife, OpeningAMissingFileCreatesItAndADamagedOneBringsThePreviousBack)
{
    std::string a = WriteProfile(Dir, "A.cfg", "A", {Dir.File("one.txt")});
    WriteRecentProfiles(IniPath(), {a});
    Start();

    std::string bad = Dir.Write("Bad.cfg", "damaged");
    std::string iniBefore = TempDir::Read(IniPath());
    Dialogs.OpenAnswers = {std::vector<std::string>{bad}};
    Run(&THTMLform::ActOpenProfileExecute);
    EXPECT_EQ(Boxes.Take().at(0).Caption, "Error reading from the specified file");
    EXPECT_EQ(Text("TitleEdit"), "A");
    EXPECT_EQ(W.SrcFilesList.RowCount(), 1);
    EXPECT_EQ(W.ProfileListCombo.Items, std::vector<std::string>{a});
    EXPECT_EQ(TempDir::Read(IniPath()), iniBefore);

    std::string fresh = Dir.File("New.cfg");
    Dialogs.OpenAnswers = {std::vector<std::string>{fresh}};
    Run(&THTMLform::ActOpenProfileExecute);
    EXPECT_EQ(Boxes.Take().at(0).Caption, "Configuration file not found");
    EXPECT_EQ(Text("TitleEdit"), DefaultTitle);
    EXPECT_EQ(W.SrcFilesList.RowCount(), 0);
    EXPECT_EQ(TitleIn(fresh), DefaultTitle);
    EXPECT_EQ(W.ProfileListCombo.Items, (std::vector<std::string>{fresh, a}));
    EXPECT_EQ(TIniFile(IniPath()).ReadString("Profiles", "Profile #0", ""), fresh);
    Dialogs.OpenAnswers = {std::nullopt}; // cancelled: nothing happens
    Run(&THTMLform::ActOpenProfileExecute);
    EXPECT_EQ(W.ProfileListCombo.Items, (std::vector<std::string>{fresh, a}));
}

// After Add To List the open-profile dialog still opens on profiles: in the
// current profile's folder, with no dump preselected, and says what it is for.
TEST_F(ProfileLife, ProfileDialogsAreSetUpAfreshAfterAddToList)
{
    fs::create_directory(Dir.File("profiles"));
    fs::create_directory(Dir.File("dumps"));
    const std::string dump = Dir.Write("dumps/games.log", "x");
    std::string a = WriteProfile(Dir, "profiles/A.cfg", "A", {dump});
    WriteRecentProfiles(IniPath(), {a});
    Start();
    Dialogs.OpenAnswers = {std::vector<std::string>{Dir.Write("dumps/more.log", "y")}, std::nullopt, std::nullopt};
    Run(&THTMLform::ActAddToListExecute);
    Run(&THTMLform::ActOpenProfileExecute);
    Dialogs.SaveAnswers = {std::nullopt};
    Run(&THTMLform::ActSaveNewOptsExecute);
    Run(&THTMLform::ActAddToListExecute);

    ASSERT_EQ(Dialogs.OpenSettings.size(), 3u);
    const TFileDialogSettings& open = Dialogs.OpenSettings[1];
    const TFileDialogSettings& save = Dialogs.SaveSettings.at(0);
    for (const TFileDialogSettings* dialog : {&open, &save}) {
        EXPECT_EQ(dialog->Filter, "Configuration files|*.cfg|All files|*.*");
        EXPECT_EQ(dialog->DefaultExt, ".cfg");
        EXPECT_EQ(dialog->InitialDir, Dir.File("profiles/"));
        EXPECT_EQ(dialog->FileName, "");
        EXPECT_FALSE(dialog->MultiSelect);
        EXPECT_FALSE(dialog->MustExist);
    }
    EXPECT_EQ(open.Title, "Open profile");
    EXPECT_EQ(save.Title, "Choose a new file name");
    EXPECT_TRUE(save.OverwritePrompt);
    // The add dialog keeps its own settings.
    const TFileDialogSettings& add = Dialogs.OpenSettings[2];
    EXPECT_EQ(add.Title, "Select files to be converted to HTML");
    EXPECT_EQ(add.FileName, dump);
    EXPECT_TRUE(add.MultiSelect);
}

TEST_F(ProfileLife, OpeningTheCurrentProfileKeepsItsEditsMarked)
{
    StartOnDefault();
    Type("TitleEdit", "+edit");
    Leave();
    Dialogs.OpenAnswers = {std::vector<std::string>{DefaultProfile()}};
    Run(&THTMLform::ActOpenProfileExecute);
    EXPECT_EQ(Text("TitleEdit"), DefaultTitle + "+edit");
    EXPECT_TRUE(Changed());
}

TEST_F(ProfileLife, SaveAsShowsTheProfileReadBackFromTheNewFile)
{
    std::string other = WriteProfile(Dir, "Other.cfg", "Other");
    StartOnDefault();
    Type("TitleEdit", "+mine");
    Dialogs.SaveAnswers = {other};
    Run(&THTMLform::ActSaveNewOptsExecute);
    const TFileDialogSettings& save = Dialogs.SaveSettings.back();
    EXPECT_EQ(save.Title, "Choose a new file name");
    EXPECT_EQ(save.Filter, "Configuration files|*.cfg|All files|*.*");
    EXPECT_TRUE(save.OverwritePrompt);
    EXPECT_EQ(TitleIn(other), DefaultTitle + "+mine");
    EXPECT_EQ(Text("TitleEdit"), DefaultTitle + "+mine");
    EXPECT_EQ(W.ProfileListCombo.Items, (std::vector<std::string>{other, DefaultProfile()}));
    EXPECT_FALSE(Changed());
}

TEST_F(ProfileLife, ClearMRULeavesTheDefaultProfileAndTheWindowAsItWas)
{
    std::string b = WriteProfile(Dir, "B.cfg", "B");
    WriteRecentProfiles(IniPath(), {b, DefaultProfile()});
    WriteProfile(Dir, "Default.cfg", "D");
    Start();
    Run(&THTMLform::ActClearMRUExecute);
    EXPECT_EQ(W.ProfileListCombo.Items, std::vector<std::string>{DefaultProfile()});
    EXPECT_EQ(Text("TitleEdit"), "B");
    EXPECT_FALSE(Changed());
}

TEST_F(ProfileLife, SkippingExistingFilesDisablesThePrompt)
{
    StartOnDefault();
    ASSERT_TRUE(Check("SkipExistingCheck").Checked);
    EXPECT_FALSE(Check("PromptOnOverwCheck").Enabled);
    Click("SkipExistingCheck");
    EXPECT_TRUE(Check("PromptOnOverwCheck").Enabled);
    EXPECT_TRUE(Changed());
    Click("SkipExistingCheck");
    EXPECT_FALSE(Check("PromptOnOverwCheck").Enabled);
    // Loading a profile that does not skip shows the prompt enabled.
    TPlatform platform;
    THighlightProfile prompting(nullptr, platform);
    prompting.IOOptions().SetSkipExisting(false);
    ASSERT_TRUE(prompting.SaveToFile(Dir.File("prompting.cfg")));
    Dialogs.OpenAnswers = {std::vector<std::string>{Dir.File("prompting.cfg")}};
    Boxes.YesNoAnswers = {false};
    Run(&THTMLform::ActOpenProfileExecute);
    EXPECT_TRUE(Check("PromptOnOverwCheck").Enabled);
    EXPECT_FALSE(Check("SkipExistingCheck").Checked);
}

TEST_F(ProfileLife, ModernPageOptionsAreEnabledOnlyWhileTheStyleIsModernAndReachTheProfile)
{
    StartOnDefault();
    auto enabled = [this] {
        return std::vector<bool>{W.Choices.at("KeepLinesCombo").Enabled, Check("WriteIndexCheck").Enabled,
                                 Check("PlayerStatsCheck").Enabled};
    };
    const std::vector<bool> on(3, true), off(3, false);
    EXPECT_EQ(enabled(), off); // a new profile is Classic
    Choose("PageStyleCombo", static_cast<int>(TPageStyle::Modern));
    EXPECT_EQ(enabled(), on);
    Choose("KeepLinesCombo", static_cast<int>(TKeepLines::Chat));
    Click("WriteIndexCheck");
    Click("PlayerStatsCheck");
    Leave();
    Run(&THTMLform::ActSaveOptsExecute);
    {
        auto saved = ReadProfile(DefaultProfile());
        const TAppOptions& app = saved->AppOptions();
        EXPECT_EQ(app.FPageStyle, TPageStyle::Modern);
        EXPECT_EQ(app.FKeepLines, TKeepLines::Chat);
        EXPECT_TRUE(app.FWriteIndex);
        EXPECT_TRUE(app.FPlayerStats);
    }
    // Back to Classic the options are disabled, and stay ticked for a later switch.
    Choose("PageStyleCombo", static_cast<int>(TPageStyle::Classic));
    EXPECT_EQ(enabled(), off);
    EXPECT_TRUE(Check("WriteIndexCheck").Checked);

    // A loaded profile enables them by its style alone (no other option differs).
    TPlatform platform;
    THighlightProfile modern(nullptr, platform);
    modern.AppOptions().SetPageStyle(TPageStyle::Modern);
    ASSERT_TRUE(modern.SaveToFile(Dir.File("modern.cfg")));
    Dialogs.OpenAnswers = {std::vector<std::string>{Dir.File("modern.cfg")}};
    Boxes.YesNoAnswers = {false};
    Run(&THTMLform::ActOpenProfileExecute);
    EXPECT_EQ(enabled(), on);
}

TEST_F(ProfileLife, CaseBoxIsTickedExactlyWhenHighlightingComparesExactly)
{
    StartOnDefault();
    ASSERT_TRUE(Check("CaseSensCheck").Checked); // a new profile compares exactly
    Click("CaseSensCheck");
    Run(&THTMLform::SaveShortcut);
    EXPECT_TRUE(ReadProfile(DefaultProfile())->AppOptions().FCaseSensitive); // stored flag set: ignores case

    auto exact = ReadProfile(DefaultProfile());
    exact->AppOptions().SetCaseSensitive(false);
    ASSERT_TRUE(exact->SaveToFile(Dir.File("exact.cfg")));
    Dialogs.OpenAnswers = {std::vector<std::string>{Dir.File("exact.cfg")}};
    Run(&THTMLform::ActOpenProfileExecute);
    EXPECT_TRUE(Check("CaseSensCheck").Checked);
}

TEST_F(ProfileLife, AnEditReachesTheProfileWhenTheFocusLeavesItOrASaveCommitsIt)
{
    StartOnDefault();
    Type("TitleEdit", "+typed");
    Run(&THTMLform::SaveShortcut); // Alt+S while the field still has the focus
    EXPECT_EQ(TitleIn(DefaultProfile()), DefaultTitle + "+typed");
    EXPECT_FALSE(Changed());
    EXPECT_EQ(W.Focused, "TitleEdit");

    Type("AuthEdit", "Ana");
    Leave();
    Run(&THTMLform::ActSaveOptsExecute);
    EXPECT_EQ(ReadProfile(DefaultProfile())->HTMLOptions().FAuthor, "Ana");

    // Only a changed profile is copied: a text the profile does not know of stays out.
    W.Texts.at("AuthEdit").Text = "Bob";
    Form->HTMLPageCTRLExit();
    Run(&THTMLform::ActSaveOptsExecute);
    EXPECT_EQ(ReadProfile(DefaultProfile())->HTMLOptions().FAuthor, "Ana");
}

TEST_F(ProfileLife, SaveShortcutDoesNothingWithoutChangesOrDuringARun)
{
    StartOnDefault();
    const std::string before = TempDir::Read(DefaultProfile());
    Run(&THTMLform::SaveShortcut);
    Type("TitleEdit", "+x");
    W.Pages.Enabled[ConfigSheet] = false; // as during a run
    Run(&THTMLform::SaveShortcut);
    EXPECT_EQ(TempDir::Read(DefaultProfile()), before);
}

TEST_F(ProfileLife, EveryOptionControlIsShownFromTheProfileAndCopiedBackIntoIt)
{
    StartOnDefault();
    // A value other than the default for every row, through the table's own setter.
    auto profile = ReadProfile(DefaultProfile());
    TCustomIni ini(IniPath(), nullptr, Dir.Path());
    TOptionGroups groups{*profile, ini};
    auto other = [](const TOptionValue& value) -> TOptionValue {
        if (auto* text = std::get_if<std::string>(&value))
            return *text + "x";
        if (auto* flag = std::get_if<bool>(&value))
            return !*flag;
        return std::get<int>(value) == 1 ? 0 : 1; // a colour, or a choice of two or more
    };
    for (const TOptionControl& row : OptionControls())
        if (std::string_view(row.Name) != "INIDefsCheck") // the settings file's, not the profile's
            row.Set(groups, other(row.Get(groups)));
    ASSERT_TRUE(profile->SaveToFile(Dir.File("other.cfg")));

    Dialogs.OpenAnswers = {std::vector<std::string>{Dir.File("other.cfg")}};
    Run(&THTMLform::ActOpenProfileExecute);
    const TFormControls controls = W.Controls();
    for (const TOptionControl& row : OptionControls()) {
        if (std::string_view(row.Name) == "INIDefsCheck")
            continue;
        SCOPED_TRACE(row.Name);
        const TOptionValue shown = std::visit(
            [](auto* c) -> TOptionValue {
                using C = std::remove_pointer_t<decltype(c)>;
                if constexpr (std::is_same_v<C, ITextControl>) return c->GetText();
                else if constexpr (std::is_same_v<C, ICheckControl>) return c->IsChecked();
                else if constexpr (std::is_same_v<C, IComboBox>) return c->SelectedIndex();
                else return c->GetColor();
            },
            controls.Options.find(row.Name)->second);
        EXPECT_EQ(shown, row.Get(groups));
    }

    // Back to the default values in the controls, copied page by page into the profile.
    TPlatform platform;
    platform.ProgramDir = Dir.Path();
    THighlightProfile fresh(nullptr, platform);
    TOptionGroups defaults{fresh, ini};
    for (auto& [name, text] : W.Texts)
        text.SetText(std::get<std::string>(Row(name).Get(defaults)));
    for (auto& [name, check] : W.Checks)
        check.SetChecked(std::get<bool>(Row(name).Get(defaults)));
    for (auto& [name, combo] : W.Choices)
        combo.Selected = std::get<int>(Row(name).Get(defaults));
    for (auto& [name, swatch] : W.Swatches)
        swatch.Color = std::get<int>(Row(name).Get(defaults));
    for (const TOptionControl& row : OptionControls())
        Form->OptionControlExit(row); // copies the row's page
    Run(&THTMLform::ActSaveOptsExecute);
    EXPECT_EQ(TempDir::Read(Dir.File("other.cfg")), TempDir::Read(DefaultProfile()))
        << "other.cfg is now the current profile, saved with the defaults";
}

TEST_F(ProfileLife, AtCloseCancelOrAFailedSaveKeepsTheWindowOpenWithTheEdits)
{
    StartOnDefault();
    Type("TitleEdit", "+unsaved");
    Boxes.YesNoCancelAnswers = {TYesNoCancel::Cancel};
    EXPECT_FALSE(Form->CloseQuery());
    EXPECT_EQ(Boxes.TakeQuestions(), std::vector<std::string>{"Configuration changed|Do you want to save the changes ?"});
    EXPECT_TRUE(Changed());
    EXPECT_FALSE(fs::exists(IniPath())) << "a cancelled close writes nothing";

    // Something the profile cannot be written over: the save fails, and so does Yes at close.
    fs::remove(DefaultProfile());
    fs::create_directory(DefaultProfile());
    Run(&THTMLform::ActSaveOptsExecute);
    EXPECT_EQ(Boxes.Take().at(0).Caption, "Error writing to the configuration file");
    EXPECT_TRUE(Changed());
    Boxes.YesNoCancelAnswers = {TYesNoCancel::Yes};
    EXPECT_FALSE(Form->CloseQuery());
    EXPECT_EQ(Boxes.Take().at(0).Caption, "Error writing to the configuration file");
    EXPECT_TRUE(Changed());

    // Saved elsewhere, the window closes without asking again.
    Dialogs.SaveAnswers = {Dir.File("Elsewhere.cfg")};
    Run(&THTMLform::ActSaveNewOptsExecute);
    EXPECT_EQ(TitleIn(Dir.File("Elsewhere.cfg")), DefaultTitle + "+unsaved");
    EXPECT_TRUE(Form->CloseQuery());
    EXPECT_EQ(Boxes.TakeQuestions().size(), 1u);
}

TEST_F(ProfileLife, ClosingWithAnEditAsksAndSavesOnYesOnly)
{
    for (TYesNoCancel answer : {TYesNoCancel::Yes, TYesNoCancel::No}) {
        StartOnDefault();
        Type("TitleEdit", "+late");
        Boxes.YesNoCancelAnswers = {answer};
        ASSERT_TRUE(Form->CloseQuery());
        EXPECT_EQ(TitleIn(DefaultProfile()), answer == TYesNoCancel::Yes ? DefaultTitle + "+late" : DefaultTitle);
        Boxes.TakeQuestions();
        Form.reset();
    }
}

TEST_F(ProfileLife, ClosingIsRefusedWhileExitIsDisabledAndSavesThePlacementOfAShownWindow)
{
    StartOnDefault();
    Form->FormShow();
    W.Window.Visible = true;
    W.btnExit.Enabled = false; // as during a run
    EXPECT_FALSE(Form->CloseQuery());
    EXPECT_FALSE(fs::exists(IniPath()));
    W.btnExit.Enabled = true;
    W.Window.Bounds = {40, 50, 700, 420};
    EXPECT_TRUE(Form->CloseQuery());
    EXPECT_TRUE(Form->CloseQuery()) << "closed once; a second request is granted";
    EXPECT_EQ(TIniFile(IniPath()).ReadString("Main Window Placement", "NormPos", ""), "40,50,740,470");
}

// A shown window at close: the settings file, placement included, could not
// be written; the user is told once, and the window closes all the same.
void ExpectToldOnceThatTheSettingsFileCannotBeWritten(TStrictMessageBoxes& boxes, const std::string& iniPath)
{
    auto messages = boxes.Take();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Caption, "Velmora");
    EXPECT_EQ(messages[0].Text, "Unable to write to " + iniPath);
}

TEST_F(ProfileLife, SettingsFileThatCannotBeWrittenIsReportedOnceAndTheWindowStillCloses)
{
    fs::create_directory(IniPath()); // a directory where the file should be
    StartOnDefault();
    Form->FormShow();
    W.Window.Visible = true;
    EXPECT_TRUE(Form->CloseQuery());
    ExpectToldOnceThatTheSettingsFileCannotBeWritten(Boxes, IniPath());
}

#ifndef _WIN32
TEST_F(ProfileLife, APlacementThatCannotBeWrittenIsSaidAtClose)
{
    StartOnDefault();
    Form->FormShow();
    W.Window.Visible = true;
    ASSERT_TRUE(Form->CloseQuery());
    Form.reset();
    Start();
    Form->FormShow();
    W.Window.Bounds = {40, 50, 700, 420}; // only the window moved: the rest of the file stays as it is
    {
        TFileSizeLimit noGrowth(16);
        EXPECT_TRUE(Form->CloseQuery());
    }
    ExpectToldOnceThatTheSettingsFileCannotBeWritten(Boxes, IniPath());
}
#endif

TEST_F(ProfileLife, BrowseButtonsFillTheirFieldFromTheDialog)
{
    StartOnDefault();
    Dialogs.FolderAnswers = {std::string("/pages/"), std::nullopt, std::string("/dumps/")};
    Dialogs.OpenAnswers = {std::vector<std::string>{"/pictures/back.jpg"}, std::vector<std::string>{"/icons/a.gif"}};
    Form->BrowseClick("DestDirEdit");
    EXPECT_EQ(Text("DestDirEdit"), "/pages/");
    EXPECT_TRUE(Changed());
    const std::string images = Text("DestImgEdit");
    Form->BrowseClick("DestImgEdit"); // cancelled
    EXPECT_EQ(Text("DestImgEdit"), images);
    Form->BrowseClick("InputDirEdit");
    EXPECT_EQ(Dialogs.FolderTitles, (std::vector<std::string>{"", "", "Select initial source files directory"}));
    Form->BrowseClick("BackImageEdit");
    EXPECT_EQ(Text("BackImageEdit"), "/pictures/back.jpg");
    const TFileDialogSettings& open = Dialogs.OpenSettings.back();
    EXPECT_EQ(open.Filter, "All pictures (*.png;*.jpg;*.jpeg;*.gif)|*.png;*.jpg;*.jpeg;*.gif|PNG files (*.png)|*.png|"
                           "JPEG files (*.jpg;*.jpeg)|*.jpg;*.jpeg|GIF files (*.gif)|*.gif|All files (*.*)|*.*");
    EXPECT_TRUE(open.MustExist);
    EXPECT_FALSE(open.MultiSelect);
    Form->BrowseClick("NameImgEdit");
    EXPECT_EQ(W.NameImgEdit.Text, "/icons/a.gif");
}

TEST_F(ProfileLife, CtrlTabGoesRoundTheTabsBothWays)
{
    StartOnDefault();
    std::vector<int> pages;
    for (bool backwards : {false, false, false, false, false, true, true}) {
        Form->CtrlTabKey(backwards);
        pages.push_back(W.Pages.Active);
    }
    EXPECT_EQ(pages, (std::vector<int>{HighlightOptSheet, ColorProfileSheet, PageStyleSheet, ConfigSheet, ConvertSheet,
                                       ConfigSheet, PageStyleSheet}));
}

TEST_F(ProfileLife, StatusPanelsFollowTheApplicationOnceStarted)
{
    Make();
    Form->ApplicationIdle();
    Form->ApplicationHint("too early");
    EXPECT_EQ(W.StatePanel.Text, "");
    EXPECT_EQ(W.HintPanel.Text, "");
    WriteProfile(Dir, "Default.cfg", DefaultTitle);
    ASSERT_TRUE(Form->FormCreate());
    Form->ApplicationHint("Enter a title for the page");
    W.StatePanel.Text = "Converting...";
    Form->ApplicationIdle();
    EXPECT_EQ(W.HintPanel.Text, "Enter a title for the page");
    EXPECT_EQ(W.StatePanel.Text, "Ready");
}

TEST_F(ProfileLife, TheFormRequiresEveryServiceAndControl)
{
    for (int missing = 0; missing < 6; ++missing) {
        TWindowServices services = Services();
        TFormControls controls = W.Controls();
        switch (missing) {
        case 0: services.MessageBoxes = nullptr; break;
        case 1: services.Dialogs = nullptr; break;
        case 2: services.Registry = nullptr; break;
        case 3: services.OpenUrl = nullptr; break;
        case 4: controls.BtnConvert = nullptr; break;
        case 5: controls.Options.erase("EscapeTextCheck"); break;
        }
        EXPECT_THROW(THTMLform(services, controls), std::invalid_argument) << missing;
    }
    TFormControls wrongKind = W.Controls();
    wrongKind.Options["TitleEdit"] = &W.Checks.at("RelImgCheck");
    EXPECT_THROW(THTMLform(Services(), wrongKind), std::invalid_argument);
}

} // namespace
} // namespace velmora::test
