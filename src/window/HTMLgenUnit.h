// The main window's logic, free of any toolkit: start-up and shutdown, the
// profile commands, the file list and the conversion run, the names editor
// and the colour pickers. It drives the window through the control interfaces
// of TFormControls and reaches outside through the injected services; a front
// end (window/qt) builds the widgets and forwards their events to the handlers
// below, each through Guarded.
//
// Its code is split by concern, each file defining its own members:
//   HTMLgenUnit.cpp     construction, status bar texts, keys, browse fields, closing
//   HTMLgenProfile.cpp  start-up, profile binding and loading, the option controls, the profile commands
//   HTMLgenFiles.cpp    the file list and the conversion commands
//   HTMLgenNames.cpp    the names editor, the colour pickers and the About command
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/UPlatform.h"
#include "window/UFileDialogs.h"
#include "window/UFormControls.h"
#include "window/UOptionControls.h"
#include "window/UWindowServices.h"

namespace velmora {

class TConvertClass;
class TCustomIni;
class TFormPlacement;
class THighlightProfile;
class TSettingsAction;

// A field with a browse button: a file chosen in the open dialog, or a folder.
struct TBrowseField {
    const char* Name;
    bool Folder;
    const char* Filter;      // of the open dialog
    const char* FolderTitle; // of the folder browser; empty: the system's own
};

class THTMLform {
public:
    // Raises std::invalid_argument when a service or a control is missing.
    THTMLform(const TWindowServices& services, const TFormControls& controls);
    ~THTMLform();
    THTMLform(const THTMLform&) = delete;
    THTMLform& operator=(const THTMLform&) = delete;

    // The window's caption, also that of the program's general error message.
    static constexpr const char* Caption = "Velmora";
    // The 16 basic colours of the colour drop-down, as stored (red in the low byte).
    static constexpr TColor BasicColors[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                               0x808000, 0x808080, 0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF,
                                               0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    // The colour every swatch shows until a profile is loaded.
    static constexpr TColor UnloadedSwatchColor = 0x8080FF;
    // The five fields with a browse button.
    static std::span<const TBrowseField> BrowseFields();

    // Runs a handler; an error it raises is shown as the program's general
    // error message and the program goes on.
    void Guarded(const std::function<void()>& handler);

    // ---- Start-up and shutdown (HTMLgenProfile.cpp, HTMLgenUnit.cpp) ----
    // Makes the model, reads the settings file and loads the current profile.
    // False after a failure that leaves no usable profile; the window has then
    // been closed and the settings file written.
    bool FormCreate();
    // The window is being shown; the first time, its remembered placement is applied.
    void FormShow();
    // The window is asked to close: true when it may. Refused while a
    // conversion runs, and when the user keeps the window open at the
    // question about unsaved changes or their save fails; otherwise saves the
    // placement and runs FormClose.
    bool CloseQuery();

    // ---- Application-wide handlers, installed by FormCreate ----
    void ApplicationIdle();                         // the state panel reads "Ready" or the last run's outcome
    void ApplicationHint(const std::string& hint);  // the hint of the control under the mouse

    // ---- Keys and browse buttons (HTMLgenUnit.cpp) ----
    void EscapeKey();    // Remove From List, on the first tab when it is enabled
    void SaveShortcut(); // Alt+S: Save options from every tab
    // Ctrl+Tab and Ctrl+Shift+Tab (backwards), from every control: the next
    // or the previous tab, round the row.
    void CtrlTabKey(bool backwards);
    void BrowseClick(std::string_view fieldName);

    // ---- Option controls and profile commands (HTMLgenProfile.cpp) ----
    void OptionsChanged(const TOptionControl& control);
    void OptionControlExit(const TOptionControl& control); // the control lost the focus
    void ProfileListComboChange();
    void HTMLPageCTRLExit();
    void ConfigPageCTRLExit();
    void ActSaveOptsExecute();
    void ActOpenProfileExecute();
    void ActSaveNewOptsExecute();
    void ActClearMRUExecute();

    // ---- File list and conversion (HTMLgenFiles.cpp) ----
    void ActAddToListExecute();
    void ActRemoveFromListExecute();
    // A row of the file list became selected or deselected.
    void SrcFilesListSelectItem(bool selected);
    void ActConvertExecute();
    void ActStopConvertExecute();
    // The convert button runs Convert, and Stop during a run.
    void BtnConvertClick();
    // Files dragged onto the file list join it as the open dialog's do.
    bool CanDropFiles() const;
    void FilesDropped(const std::vector<std::string>& paths);
    // A row converted by the last run opens its page with the system's browser
    // (double-click, Return, the context menu), or the page's folder; nothing
    // opens during a run.
    bool CanOpenPage(int row) const;
    void OpenPage(int row);
    void OpenPageFolder(int row);

    // ---- Names editor, colour pickers, About (HTMLgenNames.cpp) ----
    void NameEditChange();
    void NamesListClick();
    // A key pressed in the names list: the text it types (empty for keys that
    // type nothing) and whether Ctrl or Alt was held. Only a key that types a
    // character into the list's incremental search shows the selected entry
    // again; Tab, Return, Escape, arrows and shortcuts leave the editors as
    // they are, with any edit in them.
    void NamesListKeyPress(std::string_view typed, bool withCtrlOrAlt);
    void ActAddNameExecute();
    void ActUpdateNameExecute();
    void ActRemoveNameExecute();
    void ColorComboChange();
    void ColorComboKeyDown();
    // A colour button: its selector picks the swatch (0 the highlight colour,
    // 1 to 4 the page colours); any other selector does nothing.
    void ActPickColExecute(int selector);
    void ActAboutExecute();

private:
    // ---- Profile (HTMLgenProfile.cpp) ----
    void BindProfileControls();
    void AttachEngine();
    bool LoadProfileFile(const std::string& path, const std::string* previous, bool askFirst = true);
    void AskToSaveChanges();
    // The question at close, with Cancel: true when the window may close.
    bool SaveChangesBeforeClosing();
    void SwitchToProfile(const std::string& path);
    void ShowOptionControls();
    void StorePageControls(int sheet);
    void StoreHtmlPageControls();
    void StoreConfigPageControls();
    void UpdateEnabledControls();
    void CommitPendingEdit();
    bool IsChanged() const;
    void SetChanged(bool changed);
    // Releases the model and writes the settings file, saying once when it
    // or the placement (placementSaved false) could not be written.
    void FormClose(bool placementSaved);
    // Initial folder, extension and filter of the profile commands' dialogs.
    TFileDialogSettings ProfileDialog(const std::string& title) const;
    // Loads path (previous comes back on failure); on success puts it first in
    // the recent list, writes the settings file and sets the changed mark.
    bool MakeCurrentProfile(const std::string& path, const std::string& previous, bool changedAfter);

    // ---- The controls of the option table and the browse fields ----
    const TOptionControlRef& OptionControl(std::string_view name) const;
    ICheckControl& CheckControl(std::string_view name) const;
    IComboBox& ChoiceControl(std::string_view name) const;
    IColorControl& SwatchControl(std::string_view name) const;
    ITextControl& BrowseControl(std::string_view name) const;

    // ---- Names editor (HTMLgenNames.cpp) ----
    // The highlight colour's swatch as the logic and the profile set it: the
    // colour drop-down follows it, showing the swatch's colour when that is
    // one of the basic colours and no selection otherwise.
    class TNameColorSwatch : public IColorControl {
    public:
        TNameColorSwatch(IColorControl& swatch, IComboBox& colors) : FSwatch(swatch), FColors(colors) {}
        void SetColor(TColor color) override;
        TColor GetColor() const override { return FSwatch.GetColor(); }

    private:
        IColorControl& FSwatch;
        IComboBox& FColors;
    };

    // ---- File list and conversion (HTMLgenFiles.cpp) ----
    void AddToList(const std::vector<std::string>& paths);
    void EnterRunningState();
    void ShowRunOutcome();
    void ForgetRun();
    std::string PageOfRow(int row) const;
    void LeaveRunningState();
    void SetConvertButtonHint(const std::string& hint);
    bool FConverting = false;
    bool FRemoveWasEnabled = false; // the remove command's state before the run
    std::string FConvertCaption;    // the convert button's own caption and hint
    std::string FConvertHint;

    TWindowServices FServices;
    TFormControls FControls;
    std::unique_ptr<TNameColorSwatch> FNameColor; // over ShowNameCol and ColorCombo
    TPlatform FPlatform;
    std::unique_ptr<TFormPlacement> FFormPlacement;
    std::unique_ptr<TSettingsAction> FSettingsAction;
    std::unique_ptr<TCustomIni> FCustomIni;
    std::unique_ptr<TConvertClass> FConvertClass;
    std::unique_ptr<THighlightProfile> FProfile;
    // What the last run wrote: each converted dump's page, and the output
    // directories it had to make ("the images directory D").
    std::map<std::string, std::string> FPagesWritten;
    std::vector<std::string> FDirectoriesMade;
    std::string FRunOutcome; // the status bar's text after it
    bool FClosed = false;
    bool FStatusHandlersInstalled = false;

    // The add dialog's settings, kept between uses (its folder and file name).
    TFileDialogSettings OpenDia;
};

// A file: URL of a local path, for the desktop to open.
std::string FileUrl(const std::string& path);

} // namespace velmora
