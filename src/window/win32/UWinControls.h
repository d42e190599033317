// The window's Win32 controls seen through the control interfaces the model
// drives: one small adapter per interface over a window handle. Text crosses
// between the program's UTF-8 and the UTF-16 of the system here, through
// WindowText and SetWindowTextUtf8, and nowhere else in the front end.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/UControls.h"
#include "window/win32/UWinApi.h"

namespace velmora {

// A window's text as UTF-8, and a window's text set from UTF-8.
std::string WindowText(HWND window);
void SetWindowTextUtf8(HWND window, const std::string& text);

// Suspends a control's repainting between the outermost Begin and its End.
class TWinUpdateBracket {
public:
    void Begin(HWND control);
    void End(HWND control);

private:
    int FDepth = 0;
};

// An edit, memo or label. A value set by the program raises the change event
// as typing does (the system's own notice is held back meanwhile, as a memo
// would not send one); a memo's lines are stored with CR LF, as the edit
// control keeps them.
class TWinText : public ITextControl {
public:
    explicit TWinText(HWND control) : FControl(control) {}
    void SetText(const std::string& text) override;
    std::string GetText() const override;
    // The system reports an edit by the user.
    void Edited();

    std::function<void()> OnChange;

private:
    HWND FControl;
    bool FSetting = false;
};

// One part of a status bar.
class TWinStatusPanel : public ITextControl {
public:
    TWinStatusPanel(HWND bar, int part) : FBar(bar), FPart(part) {}
    void SetText(const std::string& text) override;
    std::string GetText() const override;

private:
    HWND FBar;
    int FPart;
};

// A check box; ticking it from the program raises the change event as a click does.
class TWinCheck : public ICheckControl {
public:
    explicit TWinCheck(HWND box) : FBox(box) {}
    void SetChecked(bool checked) override;
    bool IsChecked() const override;
    void SetEnabled(bool enabled) override;
    bool IsEnabled() const override;
    // The user clicked the box.
    void Clicked();

    std::function<void()> OnChange;

private:
    HWND FBox;
};

// A swatch: a framed label painted in its colour. The value is kept as given
// (a system colour stays negative) and only resolved for painting.
class TWinSwatch : public IColorControl {
public:
    TWinSwatch(HWND label, TColor color);
    ~TWinSwatch() override;
    TWinSwatch(const TWinSwatch&) = delete;
    TWinSwatch& operator=(const TWinSwatch&) = delete;
    void SetColor(TColor color) override;
    TColor GetColor() const override;
    // The brush the label is painted with.
    HBRUSH Brush() const { return FBrush; }

private:
    HWND FLabel;
    TColor FColor;
    HBRUSH FBrush;
};

// A command: its enabled state, shown by every button bound to it.
class TWinCommand : public ICommand {
public:
    explicit TWinCommand(std::vector<HWND> buttons, bool enabled);
    void SetEnabled(bool enabled) override;
    bool IsEnabled() const override { return FEnabled; }

private:
    std::vector<HWND> FButtons;
    bool FEnabled;
};

// A button: caption, hint (kept where the window looks hints up), picture
// (its own or the stop sign, given by the window), enabled state and focus.
class TWinButton : public IButton {
public:
    TWinButton(HWND button, std::string& hint, std::function<void(TButtonPicture)> setPicture);
    void SetCaption(const std::string& caption) override;
    std::string Caption() const override;
    void SetHint(const std::string& hint) override;
    std::string Hint() const override;
    void SetPicture(TButtonPicture picture) override;
    void SetEnabled(bool enabled) override;
    bool IsEnabled() const override;
    void SetFocus() override;
    bool IsPointedAt() const override;

private:
    HWND FButton;
    std::string& FHint;
    std::function<void(TButtonPicture)> FSetPicture;
};

// A tab control with one sheet (a child window) per tab; the sheet of the
// selected tab is shown. A page's enabled state is that of its sheet.
class TWinPageControl : public IPageControl {
public:
    TWinPageControl(HWND tabs, std::vector<HWND> sheets) : FTabs(tabs), FSheets(std::move(sheets)) {}
    int ActivePage() const override;
    void SetActivePage(int page) override;
    void SetPageEnabled(int page, bool enabled) override;
    bool IsPageEnabled(int page) const override;
    int FocusedPage() const override;
    // Shows the selected tab's sheet and hides the others; the focus leaves a hidden sheet.
    void ShowActiveSheet();
    const std::vector<HWND>& Sheets() const { return FSheets; }

private:
    HWND FTabs;
    std::vector<HWND> FSheets;
};

// A report-style list view: the row's caption in column 0, its sub-items after it.
// Selections made by the program raise no selection event.
class TWinListView : public ISelectListView {
public:
    explicit TWinListView(HWND list) : FList(list) {}
    std::vector<int> SelectedRows() const override;
    int RowCount() const override;
    int SelectedCount() const override;
    void Clear() override;
    void AddRow(const std::string& caption) override;
    int SubItemCount(int row) const override;
    void AddSubItem(int row, const std::string& text) override;
    void SetFirstSubItem(int row, const std::string& text) override;
    void BeginUpdate() override;
    void EndUpdate() override;
    // True while the program changes the rows.
    bool IsChanging() const { return FChanging > 0; }

private:
    HWND FList;
    std::vector<int> FSubItems; // the sub-items set in each row
    TWinUpdateBracket FUpdates;
    int FChanging = 0;
};

// The columns of a list view; an auto-sized last column fills the width the others leave.
class TWinListColumns : public IListColumns {
public:
    explicit TWinListColumns(HWND list) : FList(list) {}
    std::vector<TListColumn> Columns() const override;
    void SetColumns(const std::vector<TListColumn>& columns) override;
    // Gives an auto-sized last column the width left over; after every resize.
    void FitLastColumn();
    void SetAutoSize(bool autoSize) { FAutoSize = autoSize; }

private:
    HWND FList;
    bool FAutoSize = false;
};

// The program's changes of the selection raise no event (the list box sends
// none for them): the events are the user's clicks and keys.
class TWinListBox : public IListBox {
public:
    explicit TWinListBox(HWND list) : FList(list) {}
    int Count() const override;
    int SelectedIndex() const override;
    void SetSelectedIndex(int index) override;
    void Clear() override;
    void AddItem(const std::string& text) override;
    void BeginUpdate() override;
    void EndUpdate() override;

private:
    HWND FList;
    TWinUpdateBracket FUpdates;
};

class TWinComboBox : public IComboBox {
public:
    // caption: a label that is enabled and disabled with the list; null for none.
    explicit TWinComboBox(HWND combo, HWND caption = nullptr) : FCombo(combo), FCaption(caption) {}
    int Count() const override;
    void Clear() override;
    void AddItem(const std::string& text) override;
    void SetSelectedIndex(int index) override;
    int SelectedIndex() const override;
    void SetEnabled(bool enabled) override;
    bool IsEnabled() const override;
    void BeginUpdate() override;
    void EndUpdate() override;

private:
    HWND FCombo;
    HWND FCaption;
    TWinUpdateBracket FUpdates;
};

// A progress bar driven line by line: the adapter holds the exact position and
// range, and the control follows whenever what it shows would move by half a
// percent, and at both ends at once, so a page is not held up by repainting.
class TWinProgressBar : public IProgressBar {
public:
    explicit TWinProgressBar(HWND bar);
    void SetMax(int max) override;
    int Max() const override { return FMax; }
    void SetPosition(int position) override;
    int Position() const override { return FPosition; }
    void StepIt() override { SetPosition(FPosition + 1); }

private:
    void Show();

    HWND FBar;
    int FMax = 100;
    int FPosition = 0;
    int FShownMax = 100;
    int FShownPosition = 0;
};

// A top-level window's placement through GetWindowPlacement and
// SetWindowPlacement: the normal rectangle of the whole window, its state and
// the monitors' work areas. A window not shown yet keeps the state it is to be shown in.
class TWinWindowPlacement : public IWindowPlacement {
public:
    // minimum: the smallest outer size at 96 dots per inch; zero for none.
    TWinWindowPlacement(HWND window, SIZE minimum) : FWindow(window), FMinimum(minimum) {}
    TWindowBounds NormalBounds() const override;
    void SetNormalBounds(const TWindowBounds& bounds) override;
    TWindowState State() const override;
    void SetState(TWindowState state) override;
    bool IsVisible() const override;
    int ScreenWidth() const override;
    int ScreenHeight() const override;
    int PixelsPerInch() const override;
    std::vector<TWindowBounds> WorkAreas() const override;
    // None: the normal rectangle is the whole window's, frame included.
    TFrameMargins FrameMargins() const override { return {}; }
    // How the window is to be shown the first time (SW_SHOWNORMAL, SW_SHOWMAXIMIZED, ...).
    int FirstShowCommand() const { return FFirstShow; }

private:
    HWND FWindow;
    SIZE FMinimum;
    int FFirstShow = SW_SHOWNORMAL;
};

} // namespace velmora
