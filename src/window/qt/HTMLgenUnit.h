// The main window: four tabs (dump files, highlighted names, page options,
// configuration) over a three-panel status bar, the commands its buttons are
// bound to, and the shared dialogs. The window holds no logic of the model: it
// forwards edits to the profile and shows what the profile sets.
//
// Its code is split by concern, each file defining its own members of THTMLform:
//   HTMLgenUnit.cpp     construction, layout, commands, status bar, closing
//   HTMLgenProfile.cpp  start-up, profile binding and loading, the profile commands
//   HTMLgenFiles.cpp    the file list and the conversion commands
//   HTMLgenNames.cpp    the names editor, the colour pickers and the About command
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QIcon>
#include <QMainWindow>

#include "platform/UPlatform.h"
#include "window/UFileDialogs.h"
#include "window/UWindowServices.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QToolButton;
class QTreeWidget;

namespace velmora {

class TBrowseEdit;
class TConvertClass;
class TCustomIni;
class TFormPlacement;
class TQtListColumns;
class TQtWindowPlacement;
class THighlightProfile;
class TSettingsAction;

class THTMLform : public QMainWindow {
    Q_OBJECT
public:
    explicit THTMLform(const TWindowServices& services, QWidget* parent = nullptr);
    ~THTMLform() override;

    // Start-up: makes the model, reads the settings file and loads the current
    // profile. False after a failure that leaves no usable profile; the window
    // has then been closed and the settings file written.
    bool FormCreate();

    TFormPlacement& FormPlacement() { return *FFormPlacement; }
    const TWindowServices& Services() const { return FServices; }

    // The three panels of the status bar.
    void SetHintPanel(const QString& text);
    void SetStatePanel(const QString& text);

    static constexpr int InitialWidth = 602;
    static constexpr int InitialHeight = 368;
    static constexpr int MinimumWidth = 600;
    static constexpr int MinimumHeight = 368;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct TAdapters; // the widgets seen through the model's control interfaces (HTMLgenAdapters.h)

    // ---- Layout (HTMLgenUnit.cpp) ----
    void CreateActions();
    QWidget* CreateConvertSheet();
    QWidget* CreateHighlightSheet();
    QWidget* CreateColorProfileSheet();
    QWidget* CreateConfigSheet();
    void CreateStatusBar();
    void ConnectLayoutHandlers();
    void BrowseFor(TBrowseEdit* edit, const std::string& filter, const std::string& folderTitle);
    // Runs a handler; an error it raises is shown as the program's general error
    // message and the program goes on.
    void Guarded(const std::function<void()>& handler);
    void InstallStatusHandlers();
    QString HintAt(QWidget* widget) const;

    // ---- Profile, start-up and shutdown (HTMLgenProfile.cpp) ----
    void ConnectProfileHandlers();
    void BindProfileControls();
    bool LoadProfileFile(const std::string& path, const std::string* previous, bool askFirst = true);
    void AskToSaveChanges();
    void SwitchToProfile(const std::string& path);
    void OptionsChanged(QObject* sender);
    void StoreHtmlPageControls();
    void StoreConfigPageControls();
    void CommitPendingEdit();
    bool IsChanged() const;
    void SetChanged(bool changed);
    void HTMLPageCTRLExit();
    void ConfigPageCTRLExit();
    void ActSaveOptsExecute();
    void ActOpenProfileExecute();
    void ActSaveNewOptsExecute();
    void ActClearMRUExecute();
    // Releases the model and writes the settings file; false (nothing done)
    // while a conversion runs.
    bool FormClose();
    // Initial folder, extension and filter of the profile commands' dialogs.
    void PrepareProfileDialog(TFileDialogSettings& dialog) const;
    // Loads path (previous comes back on failure); on success puts it first in
    // the recent list, writes the settings file and sets the changed mark.
    bool MakeCurrentProfile(const std::string& path, const std::string& previous, bool changedAfter);

    // ---- File list and conversion (HTMLgenFiles.cpp) ----
    void ConnectFilesHandlers();
    void ActAddToListExecute();
    void ActRemoveFromListExecute();
    void SrcFilesListSelectItem(bool selected);
    void ActConvertExecute();
    void ActStopConvertExecute();
    // Adds chosen or dropped files to the profile's list.
    void AddToList(const std::vector<std::string>& paths);
    // The window's look while a conversion runs, and back.
    void EnterRunningState();
    void LeaveRunningState();
    bool FConverting = false;
    bool FRemoveWasEnabled = false; // the remove command's state before the run
    QString FConvertHint;           // the convert button's own hint and picture
    QIcon FConvertIcon;

    // ---- Names editor, colour pickers and About command (HTMLgenNames.cpp) ----
    void ConnectNamesHandlers();
    void NameEditChange();
    void NamesListClick();
    void NamesListKeyPress();
    void ActAddNameExecute();
    void ActUpdateNameExecute();
    void ActRemoveNameExecute();
    void ColorComboChange();
    void ColorComboKeyDown();
    // A colour button: its "tag" picks the swatch (0 the highlight colour,
    // 1 to 4 the page colours); anything else does nothing.
    void ActPickColExecute(QObject* sender);
    void ActAboutExecute();

    // ---- Services and model ----
    TWindowServices FServices;
    TPlatform FPlatform;
    std::unique_ptr<TAdapters> FAdapters;
    std::unique_ptr<TQtWindowPlacement> FPlacementWindow;
    std::unique_ptr<TQtListColumns> FFileColumns;
    std::unique_ptr<TFormPlacement> FFormPlacement;
    std::unique_ptr<TSettingsAction> FSettingsAction;
    std::unique_ptr<TCustomIni> FCustomIni;
    std::unique_ptr<TConvertClass> FConvertClass;
    std::unique_ptr<THighlightProfile> FProfile;
    bool FClosed = false;
    bool FStatusHandlersInstalled = false;

    // The shared dialogs' settings; each command adjusts them before showing.
    TFileDialogSettings OpenDia;
    TFileDialogSettings SaveDia;

    // ---- Commands ----
    QAction* ActAddToList = nullptr;
    QAction* ActRemoveFromList = nullptr;
    QAction* ActConvert = nullptr;
    QAction* ActPickCol = nullptr;
    QAction* ActAddName = nullptr;
    QAction* ActRemoveName = nullptr;
    QAction* ActSaveOpts = nullptr;
    QAction* ActAbout = nullptr;
    QAction* ActUpdateName = nullptr;
    QAction* ActOpenProfile = nullptr;
    QAction* ActSaveNewOpts = nullptr;
    QAction* ActStopConvert = nullptr;
    QAction* ActClearMRU = nullptr;

    // ---- Widgets, named as the design names them ----
    QTabWidget* PageControl = nullptr;
    QWidget* ConvertSheet = nullptr;
    QWidget* HighlightOptSheet = nullptr;
    QWidget* ColorProfileSheet = nullptr;
    QWidget* ConfigSheet = nullptr;

    // Tab 0, "HTML Generation"
    QLabel* lblSourcefiles = nullptr;
    QPushButton* BtnAdd = nullptr;
    QTreeWidget* SrcFilesList = nullptr;
    QPushButton* btnRemove = nullptr;
    QToolButton* BtnConvert = nullptr;
    QGroupBox* BtnGroup = nullptr;
    QPushButton* BtnAbout = nullptr;
    QPushButton* btnExit = nullptr;
    QGroupBox* ProgressGroup = nullptr;
    QLabel* lblcurrProgress = nullptr;
    QProgressBar* ProgCurr = nullptr;
    QLabel* lblTotProgress = nullptr;
    QProgressBar* ProgTotal = nullptr;

    // Tab 1, "Highlight Options"
    QLabel* lblNames = nullptr;
    QLabel* lnlEditNameText = nullptr;
    QLineEdit* NameEdit = nullptr;
    QGroupBox* CustHtmlGroup = nullptr;
    QPlainTextEdit* CustFrontHTMLMemo = nullptr;
    QPlainTextEdit* CustEndHTMLMemo = nullptr;
    QLabel* lblNameImg = nullptr;
    TBrowseEdit* NameImgEdit = nullptr;
    QGroupBox* ColorGroup = nullptr;
    QFrame* ShowNameCol = nullptr;
    QPushButton* BtnCustom = nullptr;
    QComboBox* ColorCombo = nullptr;
    QPushButton* BtnAddName = nullptr;
    QListWidget* NamesList = nullptr;
    QPushButton* BtnRemoveName = nullptr;
    QPushButton* BtnUpdate = nullptr;

    // Tab 2, "HTML Options"
    QLabel* lblTitle = nullptr;
    QLineEdit* TitleEdit = nullptr;
    QLabel* lblAuth = nullptr;
    QLineEdit* AuthEdit = nullptr;
    QGroupBox* HTMLColGroup = nullptr;
    QFrame* ShowBackCol = nullptr;
    QFrame* ShowTextCol = nullptr;
    QFrame* ShowLinkCol = nullptr;
    QFrame* ShowVisLinkCol = nullptr;
    QPushButton* BtnBackCol = nullptr;
    QPushButton* BtnTextCol = nullptr;
    QPushButton* BtnLinkCol = nullptr;
    QPushButton* BtnVisLinkcol = nullptr;
    QLabel* lblCustomHTML = nullptr;
    QPlainTextEdit* FrontPageHTMLMemo = nullptr;
    QPlainTextEdit* EndPageHTMLMemo = nullptr;
    QGroupBox* HTMLIMGGroup = nullptr;
    QLabel* lblImgFile = nullptr;
    TBrowseEdit* BackImageEdit = nullptr;
    QCheckBox* RelImgCheck = nullptr;
    QCheckBox* BrokenLinesCheck = nullptr;
    QGroupBox* DumpTextGroup = nullptr;
    QCheckBox* EscapeTextCheck = nullptr;
    QLabel* lblColorCodes = nullptr;
    QComboBox* ColorCodesCombo = nullptr;

    // Tab 3, "Configuration"
    QGroupBox* AppOptsGroup = nullptr;
    QLabel* lblCurrProfile = nullptr;
    QComboBox* ProfileListCombo = nullptr;
    QPushButton* BtnLoadProfile = nullptr;
    QCheckBox* INIDefsCheck = nullptr;
    QCheckBox* CaseSensCheck = nullptr;
    QPushButton* BtnClearMRU = nullptr;
    QGroupBox* IOOptsGroup = nullptr;
    QCheckBox* PromptOnOverwCheck = nullptr;
    QCheckBox* SkipExistingCheck = nullptr;
    QGroupBox* HTMLGenGroup = nullptr;
    QLabel* lblInDir = nullptr;
    TBrowseEdit* InputDirEdit = nullptr;
    QLabel* lblDestDir = nullptr;
    TBrowseEdit* DestDirEdit = nullptr;
    QLabel* lblImgDir = nullptr;
    TBrowseEdit* DestImgEdit = nullptr;
    QPushButton* BtnSaveOpts = nullptr;
    QPushButton* BitBtn1 = nullptr;

    // Status bar: hint, "Status :", state.
    QLabel* HintPanel = nullptr;
    QLabel* StatusCaptionPanel = nullptr;
    QLabel* StatePanel = nullptr;
};

} // namespace velmora
