// The window's life around its profile: start-up, binding a profile to the
// controls, loading and switching profiles, copying edits back into the option
// groups, the four profile commands of the Configuration tab, and closing.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>

#include "conversion/UConvertClass.h"
#include "platform/UFiles.h"
#include "platform/UPaths.h"
#include "settings/UCustomIni.h"
#include "settings/UHighLighter.h"
#include "window/qt/HTMLgenAdapters.h"
#include "window/qt/HTMLgenUnit.h"
#include "window/qt/UBrowseEdit.h"
#include "window/UFormPlacement.h"

namespace velmora {

namespace {

const char* const ConfigChangedCaption = "Configuration changed";
const char* const ConfigChangedText = "Do you want to save the changes ?";
const char* const NotFoundCaption = "Configuration file not found";
const char* const NotFoundText = "Creating a new file with default values";
const char* const FatalCaption = "Fatal Error";
const char* const FatalText = "Error loading configuration file.\rDelete the Corrupted file and try again.";

} // namespace

// ---- Connections ------------------------------------------------------------------

void THTMLform::ConnectProfileHandlers()
{
    // Every edit marks the profile changed; leaving a control copies its page.
    auto watchText = [this](QLineEdit* edit, void (THTMLform::*onExit)()) {
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { OptionsChanged(edit); });
        OnFocusOut(edit, [this, onExit] { (this->*onExit)(); });
    };
    auto watchMemo = [this](QPlainTextEdit* memo, void (THTMLform::*onExit)()) {
        connect(memo, &QPlainTextEdit::textChanged, this, [this, memo] { OptionsChanged(memo); });
        OnFocusOut(memo, [this, onExit] { (this->*onExit)(); });
    };
    auto watchCheck = [this](QCheckBox* box, void (THTMLform::*onExit)()) {
        connect(box, &QCheckBox::toggled, this, [this, box] { OptionsChanged(box); });
        OnFocusOut(box, [this, onExit] { (this->*onExit)(); });
    };
    for (QLineEdit* edit : {TitleEdit, AuthEdit, static_cast<QLineEdit*>(BackImageEdit)})
        watchText(edit, &THTMLform::HTMLPageCTRLExit);
    for (QPlainTextEdit* memo : {FrontPageHTMLMemo, EndPageHTMLMemo})
        watchMemo(memo, &THTMLform::HTMLPageCTRLExit);
    for (QCheckBox* box : {RelImgCheck, BrokenLinesCheck, EscapeTextCheck})
        watchCheck(box, &THTMLform::HTMLPageCTRLExit);
    connect(ColorCodesCombo, &QComboBox::activated, this, [this] { OptionsChanged(ColorCodesCombo); });
    OnFocusOut(ColorCodesCombo, [this] { HTMLPageCTRLExit(); });
    for (QCheckBox* box : {CaseSensCheck, INIDefsCheck, PromptOnOverwCheck, SkipExistingCheck})
        watchCheck(box, &THTMLform::ConfigPageCTRLExit);
    for (QLineEdit* edit : {InputDirEdit, DestDirEdit, DestImgEdit})
        watchText(edit, &THTMLform::ConfigPageCTRLExit);
    // Only the user's choice switches profiles, not the list being refilled.
    connect(ProfileListCombo, &QComboBox::activated, this, [this] { OptionsChanged(ProfileListCombo); });

    connect(ActSaveOpts, &QAction::triggered, this, [this] { Guarded([this] { ActSaveOptsExecute(); }); });
    connect(ActOpenProfile, &QAction::triggered, this, [this] { Guarded([this] { ActOpenProfileExecute(); }); });
    connect(ActSaveNewOpts, &QAction::triggered, this, [this] { Guarded([this] { ActSaveNewOptsExecute(); }); });
    connect(ActClearMRU, &QAction::triggered, this, [this] { Guarded([this] { ActClearMRUExecute(); }); });

    // Alt+S saves from every tab, also while a field is being typed in (the
    // edit is copied first). The button's own mnemonic would only work on its tab.
    BtnSaveOpts->setShortcut(QKeySequence());
    auto* save = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_S), this);
    connect(save, &QShortcut::activated, this, [this] {
        if (BtnSaveOpts->isEnabled())
            ActSaveOpts->trigger();
    });
}

// ---- Start-up ------------------------------------------------------------------------

bool THTMLform::FormCreate()
{
    try {
        FSettingsAction = std::make_unique<TSettingsAction>(&FAdapters->ActSaveOpts);
        std::string iniFileName = SettingsFileName(FServices.ProgramDir, FServices.ExecutablePath);
        FCustomIni = std::make_unique<TCustomIni>(iniFileName, FSettingsAction.get(), FServices.ProgramDir);
        FConvertClass = std::make_unique<TConvertClass>(FServices.MessageBoxes, FServices.ProcessMessages);
        BindProfileControls();
        FFormPlacement->SetIniFileName(FCustomIni->GetIniFileName());
        FCustomIni->LoadSettings();
        if (!LoadProfileFile(FCustomIni->GetCurrentProfile(), nullptr))
            throw EGenException("the current profile cannot be loaded");
        ProfileListCombo->setCurrentIndex(0);
        PageControl->setCurrentIndex(0);
        BtnAdd->setFocus();
        InstallStatusHandlers();
        return true;
    } catch (const std::exception&) {
        if (FServices.MessageBoxes)
            FServices.MessageBoxes->ShowMessage(FatalCaption, FatalText, TMsgIcon::Error);
        // What the window shows now are defaults, not the user's edits: close without asking.
        SetChanged(false);
        close();
        return false;
    }
}

// ---- The profile and its controls ----------------------------------------------------

void THTMLform::BindProfileControls()
{
    TAdapters& a = *FAdapters;
    FProfile = std::make_unique<THighlightProfile>(FSettingsAction.get(), FPlatform);
    THighlightProfile& p = *FProfile;
    p.AppOptions().BindControls(&a.CaseSensCheck, &a.EscapeTextCheck, &a.ColorCodesCombo);
    p.IOOptions().BindControls(&a.SrcFilesList, &a.InputDirEdit, &a.DestDirEdit, &a.DestImgEdit, &a.PromptOnOverwCheck,
                               &a.SkipExistingCheck, &a.ActRemoveFromList, &a.ActConvert);
    p.BindControls(&a.NamesList, &a.NameEdit, &a.NameImgEdit, &a.ShowNameCol, &a.CustFrontHTMLMemo, &a.CustEndHTMLMemo,
                   &a.ActRemoveName, &a.ActUpdateName);
    p.HTMLOptions().BindControls(&a.TitleEdit, &a.AuthEdit, &a.BackImageEdit, &a.RelImgCheck, &a.BrokenLinesCheck,
                                 &a.FrontPageHTMLMemo, &a.EndPageHTMLMemo, &a.ShowBackCol, &a.ShowTextCol,
                                 &a.ShowLinkCol, &a.ShowVisLinkCol);

    // The general and input/output groups and the names do not show themselves
    // when bound; a fresh profile must not leave the previous one's values on screen.
    TAppOptions& app = p.AppOptions();
    app.SetCaseSensitive(app.FCaseSensitive);
    app.SetEscapeText(app.FEscapeText);
    app.SetColorCodes(app.FColorCodes);
    TIOOptions& io = p.IOOptions();
    io.UpdateFileList();
    io.SetInputDir(io.FInputDir);
    io.SetDestDir(io.FDestDir);
    io.SetDestImgDir(io.FDestImgDir);
    io.SetPromptOnOverwrite(io.FPromptOnOverwrite);
    io.SetSkipExisting(io.FSkipExisting);
    p.UpdateNamesList();

    FConvertClass->SetOptions(&p.HTMLOptions(), &app, &io, &p.Names());
    FConvertClass->SetControls(&a.ProgTotal, &a.ProgCurr, &a.SrcFilesList);
    FCustomIni->LinkControls(&a.ProfileListCombo, &a.INIDefsCheck);
}

bool THTMLform::LoadProfileFile(const std::string& path, const std::string* previous, bool askFirst)
{
    if (previous && path == *previous)
        return true;
    if (askFirst && IsChanged())
        AskToSaveChanges();

    FProfile.reset();
    BindProfileControls();
    bool ok;
    if (FileExists(path)) {
        // A file that cannot be read has shown its message; the previous one comes back.
        if (!FProfile->LoadFromFile(path)) {
            if (previous)
                LoadProfileFile(*previous, nullptr, false);
            return false;
        }
        ok = true;
    } else {
        if (FServices.MessageBoxes)
            FServices.MessageBoxes->ShowMessage(NotFoundCaption, NotFoundText, TMsgIcon::Information);
        ok = FProfile->SaveToFile(path);
    }
    if (!FConvertClass) {
        FConvertClass = std::make_unique<TConvertClass>(FServices.MessageBoxes, FServices.ProcessMessages);
        FConvertClass->SetOptions(&FProfile->HTMLOptions(), &FProfile->AppOptions(), &FProfile->IOOptions(),
                                  &FProfile->Names());
        FConvertClass->SetControls(&FAdapters->ProgTotal, &FAdapters->ProgCurr, &FAdapters->SrcFilesList);
    }
    SetChanged(false);
    return ok;
}

bool THTMLform::IsChanged() const
{
    return FSettingsAction && FSettingsAction->IsChanged();
}

void THTMLform::SetChanged(bool changed)
{
    if (FSettingsAction)
        FSettingsAction->SetChanged(changed);
}

void THTMLform::AskToSaveChanges()
{
    if (FServices.MessageBoxes && FServices.MessageBoxes->AskYesNo(ConfigChangedCaption, ConfigChangedText))
        ActSaveOptsExecute();
}

void THTMLform::SwitchToProfile(const std::string& path)
{
    CommitPendingEdit();
    if (IsChanged())
        AskToSaveChanges();
    std::string current = FCustomIni->GetCurrentProfile();
    if (LoadProfileFile(path, &current, false))
        FCustomIni->AddRecentProfile(path);
    else
        ProfileListCombo->setCurrentIndex(0); // the list is unchanged: show the current profile again
}

void THTMLform::OptionsChanged(QObject* sender)
{
    if (sender == ProfileListCombo) {
        // The first entry is the current profile: choosing it switches nothing.
        if (ProfileListCombo->currentIndex() > 0)
            Guarded([this] { SwitchToProfile(ToStdString(ProfileListCombo->currentText())); });
        return;
    }
    if (qobject_cast<QCheckBox*>(sender))
        PromptOnOverwCheck->setEnabled(!SkipExistingCheck->isChecked());
    SetChanged(true);
}

// ---- Copying the controls into the profile --------------------------------------------

void THTMLform::StoreHtmlPageControls()
{
    if (!FProfile || !IsChanged())
        return;
    TAdapters& a = *FAdapters;
    THTMLOptions& html = FProfile->HTMLOptions();
    html.SetBackColor(a.ShowBackCol.GetColor());
    html.SetTextColor(a.ShowTextCol.GetColor());
    html.SetLinkColor(a.ShowLinkCol.GetColor());
    html.SetVisLinkColor(a.ShowVisLinkCol.GetColor());
    html.FRelImages = a.RelImgCheck.IsChecked();
    html.FBrokenLines = a.BrokenLinesCheck.IsChecked();
    html.SetBackImage(a.BackImageEdit.GetText());
    html.SetTitle(a.TitleEdit.GetText());
    html.SetAuthor(a.AuthEdit.GetText());
    html.FFrontPageHTML = a.FrontPageHTMLMemo.GetText();
    html.FEndPageHTML = a.EndPageHTMLMemo.GetText();
    // The dump text frame sits on this page; its values live in the general options.
    TAppOptions& app = FProfile->AppOptions();
    app.SetEscapeText(a.EscapeTextCheck.IsChecked());
    const int codes = a.ColorCodesCombo.SelectedIndex();
    if (codes >= 0 && codes <= static_cast<int>(TColorCodes::Colors))
        app.SetColorCodes(static_cast<TColorCodes>(codes));

    // With "Use ini defaults" the colours shown become the defaults of new profiles.
    bool useShown = FCustomIni && FCustomIni->UseIniDefaults();
    DefaultBackColor = useShown ? html.FBackColor : BuiltInBackColor;
    DefaultTextColor = useShown ? html.FTextColor : BuiltInTextColor;
    DefaultLinkColor = useShown ? html.FLinkColor : BuiltInLinkColor;
    DefaultVisitedLinkColor = useShown ? html.FVisLinkColor : BuiltInVisitedLinkColor;
}

void THTMLform::StoreConfigPageControls()
{
    if (!FProfile || !IsChanged())
        return;
    TAdapters& a = *FAdapters;
    FProfile->AppOptions().SetCaseCheckTicked(a.CaseSensCheck.IsChecked());
    if (FCustomIni)
        FCustomIni->SetUseIniDefaults(a.INIDefsCheck.IsChecked());
    TIOOptions& io = FProfile->IOOptions();
    io.SetInputDir(a.InputDirEdit.GetText());
    io.SetDestDir(a.DestDirEdit.GetText());
    io.SetDestImgDir(a.DestImgEdit.GetText());
    io.SetPromptOnOverwrite(a.PromptOnOverwCheck.IsChecked());
    io.SetSkipExisting(a.SkipExistingCheck.IsChecked());
}

void THTMLform::HTMLPageCTRLExit()
{
    StoreHtmlPageControls();
}

void THTMLform::ConfigPageCTRLExit()
{
    StoreConfigPageControls();
}

void THTMLform::CommitPendingEdit()
{
    // A command reached from the keyboard leaves the focus where it was, so the
    // edit in the focused control has not been copied yet.
    QWidget* focused = QApplication::focusWidget();
    if (!focused || focused->window() != this)
        return;
    if (ColorProfileSheet->isAncestorOf(focused))
        StoreHtmlPageControls();
    else if (ConfigSheet->isAncestorOf(focused))
        StoreConfigPageControls();
}

// ---- The profile commands ---------------------------------------------------------------

void THTMLform::PrepareProfileDialog(TFileDialogSettings& dialog) const
{
    const std::string& ext = FCustomIni->ProfileExtension();
    dialog.InitialDir = ExtractFilePath(FCustomIni->GetIniFileName());
    dialog.DefaultExt = ext;
    dialog.Filter = "Configuration files|*" + ext + "|All files|*.*";
}

bool THTMLform::MakeCurrentProfile(const std::string& path, const std::string& previous, bool changedAfter)
{
    if (!LoadProfileFile(path, &previous))
        return false;
    FCustomIni->AddRecentProfile(path);
    FCustomIni->SaveSettings();
    SetChanged(changedAfter);
    return true;
}

void THTMLform::ActSaveOptsExecute()
{
    CommitPendingEdit();
    bool saved = FProfile->SaveToFile(FCustomIni->GetCurrentProfile());
    FCustomIni->SaveSettings();
    // After a failed save the edits are still only in the window: keep asking about them.
    if (saved)
        SetChanged(false);
}

void THTMLform::ActOpenProfileExecute()
{
    std::string previous = FCustomIni->GetCurrentProfile();
    PrepareProfileDialog(OpenDia);
    OpenDia.MultiSelect = false;
    OpenDia.MustExist = false;
    std::vector<std::string> files;
    if (!FServices.Dialogs || !FServices.Dialogs->ExecuteOpen(OpenDia, files) || files.empty())
        return;
    const std::string& chosen = files.front();
    // Choosing the current profile loads nothing, so its unsaved edits stay marked.
    MakeCurrentProfile(chosen, previous, chosen == previous && IsChanged());
}

void THTMLform::ActSaveNewOptsExecute()
{
    CommitPendingEdit();
    PrepareProfileDialog(SaveDia);
    SaveDia.Title = "Choose a new file name";
    SaveDia.OverwritePrompt = true;
    std::string chosen;
    if (!FServices.Dialogs || !FServices.Dialogs->ExecuteSave(SaveDia, chosen))
        return;
    if (!FProfile->SaveToFile(chosen))
        return;
    MakeCurrentProfile(chosen, FCustomIni->GetCurrentProfile(), false);
}

void THTMLform::ActClearMRUExecute()
{
    FCustomIni->ClearRecentProfiles();
}

// ---- Closing --------------------------------------------------------------------------------

bool THTMLform::FormClose()
{
    if (!btnExit->isEnabled())
        return false;
    CommitPendingEdit();
    FConvertClass.reset();
    if (FProfile) {
        if (IsChanged())
            Guarded([this] { AskToSaveChanges(); });
        FProfile.reset();
    }
    FSettingsAction.reset();
    if (FCustomIni) {
        // The window closes even when the settings file cannot be written.
        Guarded([this] { FCustomIni->SaveSettings(); });
        FCustomIni.reset();
    }
    return true;
}

} // namespace velmora
