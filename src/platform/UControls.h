// The controls that the model and the window's logic drive. Each front end of
// the window implements these as thin adapters over its widgets; tests
// implement them as recording fakes. A null pointer to a control means "no
// control bound" and is never touched.
#pragma once

#include <string>
#include <vector>

#include "shared/UGenDeclarations.h"

namespace velmora {

// An edit, memo, file-name field or directory field.
class ITextControl {
public:
    virtual ~ITextControl() = default;
    virtual void SetText(const std::string& text) = 0;
    virtual std::string GetText() const = 0;
};

class ICheckControl {
public:
    virtual ~ICheckControl() = default;
    virtual void SetChecked(bool checked) = 0;
    virtual bool IsChecked() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool IsEnabled() const = 0;
};

// A colour swatch.
class IColorControl {
public:
    virtual ~IColorControl() = default;
    virtual void SetColor(TColor color) = 0;
    virtual TColor GetColor() const = 0;
};

// A named command (a button or menu action) with its enabled state.
class ICommand {
public:
    virtual ~ICommand() = default;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool IsEnabled() const = 0;
};

// A report-style list: each row has a caption and sub-items (the status column).
class IListView {
public:
    virtual ~IListView() = default;
    virtual int RowCount() const = 0;
    virtual int SelectedCount() const = 0;
    virtual void Clear() = 0;
    virtual void AddRow(const std::string& caption) = 0;
    virtual int SubItemCount(int row) const = 0;
    virtual void AddSubItem(int row, const std::string& text) = 0;
    virtual void SetFirstSubItem(int row, const std::string& text) = 0;
    // Repainting is suspended between BeginUpdate and EndUpdate.
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
};

class IListBox {
public:
    virtual ~IListBox() = default;
    virtual int Count() const = 0;
    virtual int SelectedIndex() const = 0; // -1 when none
    virtual void SetSelectedIndex(int index) = 0; // -1 or out of range: none selected
    virtual void Clear() = 0;
    virtual void AddItem(const std::string& text) = 0;
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
};

class IComboBox {
public:
    virtual ~IComboBox() = default;
    virtual int Count() const = 0;
    virtual void Clear() = 0;
    virtual void AddItem(const std::string& text) = 0;
    virtual void SetSelectedIndex(int index) = 0;
    virtual int SelectedIndex() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool IsEnabled() const = 0;
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
};

class IProgressBar {
public:
    virtual ~IProgressBar() = default;
    virtual void SetMax(int max) = 0;
    virtual int Max() const = 0;
    virtual void SetPosition(int position) = 0;
    virtual int Position() const = 0;
    // Advances the position by one step (the step is 1).
    virtual void StepIt() = 0;
};

// ---- Controls only the window's logic drives ----------------------------------

// A report-style list whose rows the user selects.
class ISelectListView : public IListView {
public:
    // The selected rows, in any order.
    virtual std::vector<int> SelectedRows() const = 0;
};

// The pictures a button can be switched to: its own, or the stop sign of a
// command that stops a running job.
enum class TButtonPicture { Own, Stop };

// A push button that the logic enables, focuses, or gives another caption,
// hint and picture (the convert button becomes the stop button during a run).
class IButton {
public:
    virtual ~IButton() = default;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual std::string Caption() const = 0;
    virtual void SetHint(const std::string& hint) = 0;
    virtual std::string Hint() const = 0;
    virtual void SetPicture(TButtonPicture picture) = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool IsEnabled() const = 0;
    virtual void SetFocus() = 0;
    // The mouse pointer is over the button, so its hint is the one shown.
    virtual bool IsPointedAt() const = 0;
};

// The row of tabbed pages that fills a window, pages counted from 0.
class IPageControl {
public:
    virtual ~IPageControl() = default;
    virtual int ActivePage() const = 0;
    virtual void SetActivePage(int page) = 0;
    // A disabled page can still be shown, but none of its controls takes input.
    virtual void SetPageEnabled(int page, bool enabled) = 0;
    virtual bool IsPageEnabled(int page) const = 0;
    // The page holding the control that has the keyboard focus; -1 when none does.
    virtual int FocusedPage() const = 0;
};

// Where a top-level window stands: the position and size of its client area
// when it is neither minimised nor maximised, in screen pixels.
struct TWindowBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const TWindowBounds&) const = default;
};

enum class TWindowState { Normal, Minimized, Maximized };

// How far a window's frame (its title bar and borders) reaches beyond its
// client area on each side.
struct TFrameMargins {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// A top-level window whose placement is remembered between runs.
class IWindowPlacement {
public:
    virtual ~IWindowPlacement() = default;
    virtual TWindowBounds NormalBounds() const = 0;
    // The bounds are taken as they are; the size is at least the window's minimum size.
    virtual void SetNormalBounds(const TWindowBounds& bounds) = 0;
    virtual TWindowState State() const = 0;
    virtual void SetState(TWindowState state) = 0;
    virtual bool IsVisible() const = 0;
    // The size of the window's screen, and its resolution in dots per inch.
    virtual int ScreenWidth() const = 0;
    virtual int ScreenHeight() const = 0;
    virtual int PixelsPerInch() const = 0;
    // Where windows may stand: the work area of every screen (the screen less
    // its panels and task bars), that of the window's own screen first.
    virtual std::vector<TWindowBounds> WorkAreas() const = 0;
    // The window's frame; before the window has one, the frame it will get.
    virtual TFrameMargins FrameMargins() const = 0;
};

enum class TAlignment { Left, Center, Right };

// One column of a report-style list; an auto-sized last column takes the
// width that the others leave.
struct TListColumn {
    std::string Caption;
    int Width = 0;
    TAlignment Alignment = TAlignment::Left;
    bool AutoSize = false;
};

// The columns of a report-style list, as the placement of its window remembers them.
class IListColumns {
public:
    virtual ~IListColumns() = default;
    virtual std::vector<TListColumn> Columns() const = 0;
    // As many columns as given, each with the caption, alignment and width given.
    virtual void SetColumns(const std::vector<TListColumn>& columns) = 0;
};

// Show a value in a control that may be absent (null: nothing happens).
inline void Show(ITextControl* control, const std::string& text)
{
    if (control)
        control->SetText(text);
}
inline void Show(ICheckControl* control, bool checked)
{
    if (control)
        control->SetChecked(checked);
}
inline void Show(IColorControl* control, TColor color)
{
    if (control)
        control->SetColor(color);
}

} // namespace velmora
