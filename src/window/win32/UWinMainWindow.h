// The main window's Win32 front end: a tab control with one sheet per tab
// above a three-part status bar, standard and common controls placed by the
// edges they stay fixed to, in the system's message font for the monitor's
// resolution. It holds no behaviour of its own: it adapts its controls to the
// control interfaces, makes the window's logic (THTMLform) on them and
// forwards every notification, key and mouse move to the logic's handlers
// through one wrapper, Forward.
//
// Its code is split in two files:
//   UWinMainWindow.cpp  construction, adapters, messages and their forwarding, closing
//   UWinSheets.cpp      the tabs' controls and their places
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "window/HTMLgenUnit.h"
#include "window/UControlTexts.h"
#include "window/win32/UWinApi.h"
#include "window/win32/UWinLayout.h"
#include "window/win32/UWinPictures.h"

namespace velmora {

class TWinMainWindow {
public:
    static constexpr const wchar_t* ClassName = L"VelmoraMainWindow";
    static constexpr const wchar_t* SheetClassName = L"VelmoraSheet";

    // Outer sizes at 96 dots per inch.
    static constexpr SIZE InitialSize{602, 368};
    static constexpr SIZE MinimumSize{600, 368};

    // Makes the window, hidden. Raises std::invalid_argument when a service is missing.
    explicit TWinMainWindow(const TWindowServices& services);
    ~TWinMainWindow();
    TWinMainWindow(const TWinMainWindow&) = delete;
    TWinMainWindow& operator=(const TWinMainWindow&) = delete;

    // Start-up (THTMLform::FormCreate): false after a failure that leaves no
    // usable profile; the window has then been closed.
    bool FormCreate();
    // Shows the window where and as it was last closed.
    void Show();
    // The application became idle (its queue is empty).
    void Idle();

    HWND Handle() const { return FWindow; }
    // Runs once the window has been closed and destroyed (the program ends its loop).
    std::function<void()> OnClosed;

    // A control by its design name (a browse button is its field's name and
    // "Browse"), and the hint the status bar shows over a control; for tests.
    HWND Control(std::string_view name) const;
    std::string HintOf(std::string_view name) const;

private:
    struct TAdapters; // the controls seen through the control interfaces

    // ---- Controls (UWinSheets.cpp) ----
    void CreateControls();
    void CreateConvertSheet();
    void CreateHighlightSheet();
    void CreateColorProfileSheet();
    void CreatePageStyleSheet();
    void CreateConfigSheet();
    void CreateStatusBar();
    // A control of the class and style, placed in the current sheet or frame,
    // with its name, caption and hint.
    HWND Add(const wchar_t* className, const char* name, const char* text, DWORD style, RECT design,
             unsigned anchors, const char* hint, DWORD exStyle = 0);
    // The same with the texts of the window's table.
    HWND Add(const wchar_t* className, const TControlText& texts, DWORD style, RECT design,
             unsigned anchors = akTopLeft, DWORD exStyle = 0);
    HWND AddLabel(const TControlText& texts, RECT design, unsigned anchors = akTopLeft);
    HWND AddButton(const TControlText& texts, RECT design, unsigned anchors, TPicture picture);
    HWND AddCheck(const TControlText& texts, RECT design);
    HWND AddEdit(const TControlText& texts, RECT design, unsigned anchors, bool memo = false);
    // A field with a browse button at its right, both fixed as given.
    HWND AddBrowseEdit(const TControlText& texts, RECT design, unsigned anchors);
    // A drop-down list of fixed items, fixed to the top left; the design's height is that of the open list.
    HWND AddChoice(const TControlText& texts, RECT design, std::span<const char* const> choices);
    HWND AddSwatch(const TControlText& texts, RECT design);
    HWND AddColorButton(const TControlText& texts, RECT design, int selector);
    // A frame; the controls added until EndFrame sit inside it.
    HWND BeginFrame(const TControlText& texts, RECT design, unsigned anchors);
    void EndFrame();
    HWND NewSheet(const char* name);
    // Gives a button its picture, size x size at 96 dots per inch, drawn for the present resolution.
    void SetPicture(HWND button, TPicture picture, int size);

    // ---- The logic and its handlers (UWinMainWindow.cpp) ----
    TFormControls MakeControls();
    void ForwardOptionControls(TFormControls& controls);
    void ForwardCommands();
    // Runs a handler of the logic through the logic's Guarded; nothing once the logic is gone.
    void Forward(const std::function<void(THTMLform&)>& handler);
    void ShowAboutBox(const std::string& iniFileName);

    // ---- Messages ----
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SheetProc(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    // Handled here before the system sees it: keys of the window, the mouse for hints.
    bool PreTranslate(MSG& message);
    bool Mnemonic(wchar_t key);
    void PointedAt(HWND window, POINT screen);
    void Command(HWND control, int code);
    void Notify(const NMHDR& header);
    void PageMenu(const NMITEMACTIVATE& click);
    void Resized();
    void DpiChanged(int dpi, const RECT& suggested);
    void ApplyFonts();
    void DrawColorItem(const DRAWITEMSTRUCT& item);
    void FilesDropped(HDROP drop);

    TWindowServices FServices;
    HWND FWindow = nullptr;
    int FDpi = 96;
    HFONT FFont = nullptr;
    TWinPictures FPictures;
    TWinLayout FLayout;
    std::unique_ptr<TAdapters> FAdapters;
    std::unique_ptr<THTMLform> FForm;
    // What each control does when it notifies: clicked, changed, left.
    std::map<HWND, std::function<void(int code)>> FCommands;
    std::string FHint = "\n"; // the hint last shown; a value no hint has
    std::map<HWND, int> FColorSelectors;                   // the colour buttons' swatches
    std::map<HWND, std::pair<TPicture, int>> FPictureOf;   // each button's picture and its size
    std::map<HWND, HWND> FCaptionOf;                       // labels enabled and disabled with their list
    HIMAGELIST FTabImages = nullptr;
    HWND FFocus = nullptr; // the control that had the focus when the window was last active

    // ---- Controls being made: the sheet and the frame they go into ----
    HWND FSheet = nullptr;
    int FFrame = -1;

    // ---- Controls the adapters and handlers use, named as the design names them ----
    HWND PageControl = nullptr;
    std::vector<HWND> Sheets;
    HWND StatusBar = nullptr;
    HWND Tips = nullptr; // the browse buttons' tip
    HWND SrcFilesList = nullptr;
    HWND NamesList = nullptr;
    HWND ColorCombo = nullptr;
};

} // namespace velmora
