// The main window's Qt front end: four tabs (dump files, highlighted names,
// page options, configuration) over a three-panel status bar, the commands
// its buttons are bound to, and the hint and idle hooks. It holds no
// behaviour of its own: it adapts its widgets to the control interfaces,
// makes the window's logic (THTMLform) on them and forwards every signal and
// event to the logic's handlers through one wrapper, Forward.
//
// Its code is split in two files:
//   UQtMainWindow.cpp  construction, adapters, forwarding of signals and events, closing
//   UQtSheets.cpp      the four tabs' widgets and layouts, and the status bar
#pragma once

#include <functional>
#include <memory>

#include <QMainWindow>

#include "window/HTMLgenUnit.h"

class QAction;
class QComboBox;
class QFrame;
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

class TQtMainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Raises std::invalid_argument when a service is missing.
    explicit TQtMainWindow(const TWindowServices& services, QWidget* parent = nullptr);
    ~TQtMainWindow() override;

    // Start-up (THTMLform::FormCreate): false after a failure that leaves no
    // usable profile; the window has then been closed.
    bool FormCreate();

    static constexpr int InitialWidth = 602;
    static constexpr int InitialHeight = 368;
    static constexpr int MinimumWidth = 600;
    static constexpr int MinimumHeight = 368;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct TAdapters; // the widgets seen through the control interfaces

    // ---- Widgets (UQtSheets.cpp) ----
    void CreateActions();
    // The tabs with their sheets, below them the status bar.
    void CreatePages();
    QWidget* CreateConvertSheet();
    QWidget* CreateHighlightSheet();
    QWidget* CreateColorProfileSheet();
    QWidget* CreatePageStyleSheet();
    QWidget* CreateConfigSheet();
    void CreateStatusBar();

    // ---- The logic and its handlers (UQtMainWindow.cpp) ----
    TFormControls MakeControls();
    // Runs a handler of the logic as the answer to a signal or event, through
    // the logic's Guarded; nothing once the logic is gone.
    void Forward(const std::function<void(THTMLform&)>& handler);
    void ForwardSignals();
    void ForwardOptionControls(TFormControls& controls);
    void ForwardFileDrops();
    void ForwardStatusHooks();
    void ShowAboutBox(const std::string& iniFileName);

    TWindowServices FServices;
    std::unique_ptr<TAdapters> FAdapters;
    std::unique_ptr<THTMLform> FForm;

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

    // ---- Widgets the adapters and handlers use, named as the design names
    // them; the option controls are found by the names of the option table ----
    QTabWidget* PageControl = nullptr;
    // Tab 0, "HTML Generation"
    QPushButton* BtnAdd = nullptr;
    QTreeWidget* SrcFilesList = nullptr;
    QToolButton* BtnConvert = nullptr;
    QPushButton* btnExit = nullptr;
    QProgressBar* ProgCurr = nullptr;
    QProgressBar* ProgTotal = nullptr;
    // Tab 1, "Highlight Options"
    QLineEdit* NameEdit = nullptr;
    QPlainTextEdit* CustFrontHTMLMemo = nullptr;
    QPlainTextEdit* CustEndHTMLMemo = nullptr;
    TBrowseEdit* NameImgEdit = nullptr;
    QFrame* ShowNameCol = nullptr;
    QComboBox* ColorCombo = nullptr;
    QListWidget* NamesList = nullptr;
    // Tab 3, "Configuration"
    QComboBox* ProfileListCombo = nullptr;
    QPushButton* BtnSaveOpts = nullptr;
    // Status bar: hint, "Status :", state.
    QLabel* HintPanel = nullptr;
    QLabel* StatePanel = nullptr;
};

} // namespace velmora
