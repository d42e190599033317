// The main window's construction, its status bar texts, keys and browse
// fields, and closing.
#include "window/HTMLgenUnit.h"

#include <stdexcept>

#include "conversion/UConvertClass.h"
#include "platform/UPaths.h"
#include "settings/UCustomIni.h"
#include "settings/UHighLighter.h"
#include "window/UFormPlacement.h"

namespace velmora {

namespace {

const char* const PictureFilter = "All pictures (*.png;*.jpg;*.jpeg;*.gif)|*.png;*.jpg;*.jpeg;*.gif|PNG files (*.png)|*.png|"
                                   "JPEG files (*.jpg;*.jpeg)|*.jpg;*.jpeg|GIF files (*.gif)|*.gif|All files (*.*)|*.*";

const TBrowseField BrowseFieldTable[] = {
    {"NameImgEdit", false, PictureFilter, ""},
    {"BackImageEdit", false, PictureFilter, ""},
    {"InputDirEdit", true, "", "Select initial source files directory"},
    {"DestDirEdit", true, "", ""},
    {"DestImgEdit", true, "", ""},
};

void Require(bool present, const std::string& what)
{
    if (!present)
        throw std::invalid_argument("the main window needs " + what);
}

// Every service, and every control with the interface of its kind.
void RequireAll(const TWindowServices& s, const TFormControls& c)
{
    Require(s.MessageBoxes && s.Dialogs && s.Registry && s.OpenUrl && s.ProcessMessages,
            "message boxes, dialogs, a registry, a URL opener and a message pump");
    const void* const controls[] = {
        c.Window, c.PageControl, c.ActAddToList, c.ActRemoveFromList, c.ActConvert, c.ActAddName, c.ActRemoveName,
        c.ActUpdateName, c.ActSaveOpts, c.BtnAdd, c.BtnConvert, c.btnExit, c.SrcFilesList, c.SrcFilesColumns,
        c.ProgCurr, c.ProgTotal, c.NamesList, c.NameEdit, c.NameImgEdit, c.CustFrontHTMLMemo, c.CustEndHTMLMemo,
        c.ShowNameCol, c.ColorCombo, c.ProfileListCombo, c.HintPanel, c.StatePanel};
    for (const void* control : controls)
        Require(control != nullptr, "every control");
    Require(static_cast<bool>(c.ShowAboutBox), "an About box");
    for (const TOptionControl& row : OptionControls()) {
        auto found = c.Options.find(row.Name);
        Require(found != c.Options.end(), std::string("the option control ") + row.Name);
        std::size_t kind = 0; // the alternative of TOptionControlRef that adapts the row's kind
        switch (row.Kind) {
        case TOptionKind::Edit: case TOptionKind::Memo: kind = 0; break;
        case TOptionKind::Check: kind = 1; break;
        case TOptionKind::Choice: kind = 2; break;
        case TOptionKind::Swatch: kind = 3; break;
        }
        const TOptionControlRef& ref = found->second;
        Require(ref.index() == kind && std::visit([](auto* p) { return p != nullptr; }, ref),
                std::string("the option control ") + row.Name + " with the interface of its kind");
    }
}

} // namespace

std::span<const TBrowseField> THTMLform::BrowseFields()
{
    return BrowseFieldTable;
}

THTMLform::THTMLform(const TWindowServices& services, const TFormControls& controls)
    : FServices(services), FControls(controls)
{
    RequireAll(FServices, FControls);
    FNameColor = std::make_unique<TNameColorSwatch>(*FControls.ShowNameCol, *FControls.ColorCombo);
    FPlatform.Registry = FServices.Registry;
    FPlatform.MessageBoxes = FServices.MessageBoxes;
    FPlatform.ProgramDir = FServices.ProgramDir;
    FPlatform.UserFilesDir = FServices.UserFilesDir;

    OpenDia.Title = "Select files to be converted to HTML";
    OpenDia.MultiSelect = true;
    OpenDia.MustExist = true;

    FFormPlacement = std::make_unique<TFormPlacement>(*FControls.Window, "Main Window Placement",
                                                      TFormPlacement::TRestore::StateAndPosition);
    FFormPlacement->StoreColumns(*FControls.SrcFilesColumns, "SrcFilesList");
}

THTMLform::~THTMLform()
{
    // The placement goes first: it still reads the window.
    FFormPlacement.reset();
    if (!FClosed) {
        // Release the model in its order without asking anything.
        FConvertClass.reset();
        FProfile.reset();
        FSettingsAction.reset();
        FCustomIni.reset();
    }
}

void THTMLform::Guarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& e) {
        FServices.MessageBoxes->ShowMessage(Caption, e.what(), TMsgIcon::Error);
    }
}

void THTMLform::FormShow()
{
    FFormPlacement->WindowShown();
}

// ---- Status bar -------------------------------------------------------------------

void THTMLform::ApplicationIdle()
{
    // What the last run did stays in sight until the list changes.
    if (FStatusHandlersInstalled)
        FControls.StatePanel->SetText(FRunOutcome.empty() ? "Ready" : FRunOutcome);
}

void THTMLform::ApplicationHint(const std::string& hint)
{
    if (FStatusHandlersInstalled)
        FControls.HintPanel->SetText(hint);
}

// ---- Keys and browse fields --------------------------------------------------------

void THTMLform::EscapeKey()
{
    // Escape presses Remove From List, the first tab's cancel button, when it can act.
    if (FControls.PageControl->ActivePage() == ConvertSheet && FControls.ActRemoveFromList->IsEnabled())
        ActRemoveFromListExecute();
}

void THTMLform::SaveShortcut()
{
    // Alt+S saves from every tab, also while a field is being typed in (the
    // save copies the edit first); not during a run, when the tab is disabled.
    if (FControls.ActSaveOpts->IsEnabled() && FControls.PageControl->IsPageEnabled(ConfigSheet))
        ActSaveOptsExecute();
}

void THTMLform::CtrlTabKey(bool backwards)
{
    constexpr int pages = ConfigSheet + 1;
    const int active = FControls.PageControl->ActivePage();
    FControls.PageControl->SetActivePage((active + (backwards ? pages - 1 : 1)) % pages);
}

void THTMLform::BrowseClick(std::string_view fieldName)
{
    for (const TBrowseField& field : BrowseFieldTable) {
        if (fieldName != field.Name)
            continue;
        ITextControl& edit = BrowseControl(field.Name);
        std::string current = edit.GetText();
        if (field.Folder) {
            std::string folder;
            if (FServices.Dialogs->BrowseFolder(field.FolderTitle, current, folder))
                edit.SetText(folder);
            return;
        }
        TFileDialogSettings settings;
        settings.Filter = field.Filter;
        settings.InitialDir = ExtractFilePath(current);
        settings.FileName = current;
        settings.MustExist = true;
        std::vector<std::string> files;
        if (FServices.Dialogs->ExecuteOpen(settings, files) && !files.empty())
            edit.SetText(files.front());
        return;
    }
}

// ---- The option controls by name ----------------------------------------------------

const TOptionControlRef& THTMLform::OptionControl(std::string_view name) const
{
    return FControls.Options.find(name)->second; // every row is there (checked at construction)
}

ICheckControl& THTMLform::CheckControl(std::string_view name) const
{
    return *std::get<ICheckControl*>(OptionControl(name));
}

IComboBox& THTMLform::ChoiceControl(std::string_view name) const
{
    return *std::get<IComboBox*>(OptionControl(name));
}

IColorControl& THTMLform::SwatchControl(std::string_view name) const
{
    return *std::get<IColorControl*>(OptionControl(name));
}

ITextControl& THTMLform::BrowseControl(std::string_view name) const
{
    return name == "NameImgEdit" ? *FControls.NameImgEdit : *std::get<ITextControl*>(OptionControl(name));
}

// ---- Closing ----------------------------------------------------------------------

bool THTMLform::CloseQuery()
{
    if (FClosed)
        return true;
    // A running conversion disables Exit; the window then stays open.
    if (!FControls.btnExit->IsEnabled())
        return false;
    CommitPendingEdit();
    if (IsChanged() && !SaveChangesBeforeClosing())
        return false;
    const bool placementSaved = !FControls.Window->IsVisible() || FFormPlacement->Save();
    FormClose(placementSaved);
    FClosed = true;
    return true;
}

void THTMLform::FormClose(bool placementSaved)
{
    FConvertClass.reset();
    FProfile.reset();
    FSettingsAction.reset();
    if (!FCustomIni)
        return;
    // The window closes even when the settings file cannot be written; the
    // user hears of it once, also when the placement failed as well.
    std::string failure;
    try {
        FCustomIni->SaveSettings();
    } catch (const std::exception& e) {
        failure = e.what();
    }
    if (failure.empty() && !placementSaved)
        failure = "Unable to write to " + FCustomIni->GetIniFileName();
    if (!failure.empty())
        FServices.MessageBoxes->ShowMessage(Caption, failure, TMsgIcon::Error);
    FCustomIni.reset();
}

} // namespace velmora
