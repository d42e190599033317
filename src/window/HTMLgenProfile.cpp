// The window's life around its profile: start-up, binding a profile to the
// controls, loading and switching profiles, showing the option controls and
// copying edits back into the option groups, and the four profile commands of
// the Configuration tab.
#include "conversion/UConvertClass.h"
#include "platform/UFiles.h"
#include "platform/UPaths.h"
#include "settings/UCustomIni.h"
#include "settings/UHighLighter.h"
#include "window/HTMLgenUnit.h"
#include "window/UFormPlacement.h"

namespace velmora {

namespace {

const char* const ConfigChangedCaption = "Configuration changed";
const char* const ConfigChangedText = "Do you want to save the changes ?";
const char* const NotFoundCaption = "Configuration file not found";
const char* const NotFoundText = "Creating a new file with default values";
const char* const FatalCaption = "Fatal Error";
const char* const FatalText = "Error loading configuration file.\rDelete the Corrupted file and try again.";

// What an option control shows, read through the interface of its kind.
struct TReadValue {
    TOptionValue operator()(ITextControl* c) const { return c->GetText(); }
    TOptionValue operator()(ICheckControl* c) const { return c->IsChecked(); }
    TOptionValue operator()(IComboBox* c) const { return c->SelectedIndex(); }
    TOptionValue operator()(IColorControl* c) const { return c->GetColor(); }
};

// Shows a value in an option control; each control is touched only when it
// shows something else.
struct TShowValue {
    const TOptionValue& Value;
    void operator()(ITextControl* c) const
    {
        if (c->GetText() != std::get<std::string>(Value))
            c->SetText(std::get<std::string>(Value));
    }
    void operator()(ICheckControl* c) const
    {
        if (c->IsChecked() != std::get<bool>(Value))
            c->SetChecked(std::get<bool>(Value));
    }
    void operator()(IComboBox* c) const
    {
        if (c->SelectedIndex() != std::get<int>(Value))
            c->SetSelectedIndex(std::get<int>(Value));
    }
    void operator()(IColorControl* c) const { c->SetColor(std::get<int>(Value)); }
};

} // namespace

// ---- Start-up ------------------------------------------------------------------------

bool THTMLform::FormCreate()
{
    try {
        FSettingsAction = std::make_unique<TSettingsAction>(FControls.ActSaveOpts);
        std::string iniFileName = SettingsFileName(FServices.ProgramDir, FServices.ExecutablePath);
        FCustomIni = std::make_unique<TCustomIni>(iniFileName, FSettingsAction.get(), FServices.ProgramDir);
        AttachEngine();
        BindProfileControls();
        FFormPlacement->SetIniFileName(FCustomIni->GetIniFileName());
        FCustomIni->LoadSettings();
        if (!LoadProfileFile(FCustomIni->GetCurrentProfile(), nullptr))
            throw EGenException("the current profile cannot be loaded");
        FControls.ProfileListCombo->SetSelectedIndex(0);
        FControls.PageControl->SetActivePage(ConvertSheet);
        FControls.BtnAdd->SetFocus();
        FStatusHandlersInstalled = true;
        return true;
    } catch (const std::exception&) {
        FServices.MessageBoxes->ShowMessage(FatalCaption, FatalText, TMsgIcon::Error);
        // What the window shows now are defaults, not the user's edits: close without asking.
        SetChanged(false);
        CloseQuery();
        return false;
    }
}

// ---- The profile and its controls ----------------------------------------------------

void THTMLform::BindProfileControls()
{
    const TFormControls& c = FControls;
    ForgetRun();
    FProfile = std::make_unique<THighlightProfile>(FSettingsAction.get(), FPlatform);
    THighlightProfile& p = *FProfile;
    // The model drives the file list, the names editor and their commands; the
    // option controls are shown and read by this window through its option table.
    p.IOOptions().BindControls(c.SrcFilesList, nullptr, nullptr, nullptr, nullptr, nullptr, c.ActRemoveFromList,
                               c.ActConvert);
    p.BindControls(c.NamesList, c.NameEdit, c.NameImgEdit, FNameColor.get(), c.CustFrontHTMLMemo, c.CustEndHTMLMemo,
                   c.ActRemoveName, c.ActUpdateName);
    // A fresh profile must not leave the previous one's values on screen.
    p.IOOptions().UpdateFileList();
    p.UpdateNamesList();
    ShowOptionControls();
    if (FConvertClass) {
        FConvertClass->SetOptions(&p.HTMLOptions(), &p.AppOptions(), &p.IOOptions(), &p.Names());
        FConvertClass->SetControls(c.ProgTotal, c.ProgCurr, c.SrcFilesList);
    }
    FCustomIni->LinkControls(c.ProfileListCombo, nullptr);
}

void THTMLform::AttachEngine()
{
    FConvertClass = std::make_unique<TConvertClass>(FServices.MessageBoxes, FServices.ProcessMessages);
    FConvertClass->SetOnDirectoryCreated([this](const std::string& what, const std::string& dir) {
        FDirectoriesMade.push_back("the " + what + " directory " + dir);
        FControls.StatePanel->SetText("Created " + FDirectoriesMade.back());
    });
    if (FProfile) {
        FConvertClass->SetOptions(&FProfile->HTMLOptions(), &FProfile->AppOptions(), &FProfile->IOOptions(),
                                  &FProfile->Names());
        FConvertClass->SetControls(FControls.ProgTotal, FControls.ProgCurr, FControls.SrcFilesList);
    }
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
        FServices.MessageBoxes->ShowMessage(NotFoundCaption, NotFoundText, TMsgIcon::Information);
        ok = FProfile->SaveToFile(path);
    }
    ShowOptionControls();
    if (!FConvertClass)
        AttachEngine();
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
    if (FServices.MessageBoxes->AskYesNo(ConfigChangedCaption, ConfigChangedText))
        ActSaveOptsExecute();
}

bool THTMLform::SaveChangesBeforeClosing()
{
    switch (FServices.MessageBoxes->AskYesNoCancel(ConfigChangedCaption, ConfigChangedText)) {
    case TYesNoCancel::Yes:
        // A profile that could not be written has said why; the window stays
        // open with the edits, so that they can be saved elsewhere.
        if (!FProfile->SaveToFile(FCustomIni->GetCurrentProfile()))
            return false;
        SetChanged(false);
        return true;
    case TYesNoCancel::No:
        return true;
    case TYesNoCancel::Cancel:
        break;
    }
    return false;
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
        FControls.ProfileListCombo->SetSelectedIndex(0); // the list is unchanged: show the current profile again
}

// ---- The option controls ------------------------------------------------------------------

void THTMLform::ShowOptionControls()
{
    TOptionGroups groups{*FProfile, *FCustomIni};
    for (const TOptionControl& row : OptionControls())
        std::visit(TShowValue{row.Get(groups)}, OptionControl(row.Name));
    UpdateEnabledControls();
}

// Controls that only matter for some values of another follow what that one
// shows, before it is copied into the profile.
void THTMLform::UpdateEnabledControls()
{
    CheckControl("PromptOnOverwCheck").SetEnabled(!CheckControl("SkipExistingCheck").IsChecked());
    const bool modern = ChoiceControl("PageStyleCombo").SelectedIndex() == static_cast<int>(TPageStyle::Modern);
    ChoiceControl("KeepLinesCombo").SetEnabled(modern);
    CheckControl("WriteIndexCheck").SetEnabled(modern);
    CheckControl("PlayerStatsCheck").SetEnabled(modern);
}

void THTMLform::OptionsChanged(const TOptionControl& control)
{
    if (control.Kind == TOptionKind::Check || control.Kind == TOptionKind::Choice)
        UpdateEnabledControls();
    SetChanged(true);
}

void THTMLform::OptionControlExit(const TOptionControl& control)
{
    StorePageControls(control.Sheet);
}

void THTMLform::ProfileListComboChange()
{
    // The first entry is the current profile: choosing it switches nothing.
    const int index = FControls.ProfileListCombo->SelectedIndex();
    const std::vector<std::string>& recent = FCustomIni->RecentProfiles();
    if (index > 0 && index < static_cast<int>(recent.size())) {
        const std::string path = recent[static_cast<std::size_t>(index)]; // the switch reorders the list
        SwitchToProfile(path);
    }
}

// Copies a page's option controls into the profile, in the table's order;
// only while the profile is changed.
void THTMLform::StorePageControls(int sheet)
{
    if (!FProfile || !FCustomIni || !IsChanged())
        return;
    TOptionGroups groups{*FProfile, *FCustomIni};
    for (const TOptionControl& row : OptionControls())
        if (row.Sheet == sheet)
            row.Set(groups, std::visit(TReadValue{}, OptionControl(row.Name)));
    if (sheet != ColorProfileSheet)
        return;
    // With "Use ini defaults" the colours shown become the defaults of new profiles.
    const THTMLOptions& html = FProfile->HTMLOptions();
    bool useShown = FCustomIni->UseIniDefaults();
    DefaultBackColor = useShown ? html.FBackColor : BuiltInBackColor;
    DefaultTextColor = useShown ? html.FTextColor : BuiltInTextColor;
    DefaultLinkColor = useShown ? html.FLinkColor : BuiltInLinkColor;
    DefaultVisitedLinkColor = useShown ? html.FVisLinkColor : BuiltInVisitedLinkColor;
}

void THTMLform::StoreHtmlPageControls()
{
    StorePageControls(ColorProfileSheet);
}

void THTMLform::StoreConfigPageControls()
{
    StorePageControls(ConfigSheet);
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
    StorePageControls(FControls.PageControl->FocusedPage());
}

// ---- The profile commands ---------------------------------------------------------------

// The profile dialogs are set up afresh each time, so nothing of the add
// dialog (the dumps' folder, a dump's name) carries over into them.
TFileDialogSettings THTMLform::ProfileDialog(const std::string& title) const
{
    const std::string& ext = FCustomIni->ProfileExtension();
    TFileDialogSettings dialog;
    dialog.Title = title;
    dialog.InitialDir = ExtractFilePath(FCustomIni->GetCurrentProfile());
    dialog.DefaultExt = ext;
    dialog.Filter = "Configuration files|*" + ext + "|All files|*.*";
    return dialog;
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
    // A name that does not exist yet makes a new profile.
    const TFileDialogSettings dialog = ProfileDialog("Open profile");
    std::vector<std::string> files;
    if (!FServices.Dialogs->ExecuteOpen(dialog, files) || files.empty())
        return;
    const std::string& chosen = files.front();
    // Choosing the current profile loads nothing, so its unsaved edits stay marked.
    MakeCurrentProfile(chosen, previous, chosen == previous && IsChanged());
}

void THTMLform::ActSaveNewOptsExecute()
{
    CommitPendingEdit();
    TFileDialogSettings dialog = ProfileDialog("Choose a new file name");
    dialog.OverwritePrompt = true;
    std::string chosen;
    if (!FServices.Dialogs->ExecuteSave(dialog, chosen))
        return;
    if (!FProfile->SaveToFile(chosen))
        return;
    MakeCurrentProfile(chosen, FCustomIni->GetCurrentProfile(), false);
}

void THTMLform::ActClearMRUExecute()
{
    FCustomIni->ClearRecentProfiles();
}

} // namespace velmora
