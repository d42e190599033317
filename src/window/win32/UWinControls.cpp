#include "window/win32/UWinControls.h"

#include <algorithm>

#include "platform/USystemColors.h"
#include "platform/UText.h"

namespace velmora {

std::string WindowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(std::max(0, GetWindowTextLengthW(window))) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    // A drop-down list of owner-drawn entries answers with its entry's data: no text.
    text.resize(text.find(L'\0') == std::wstring::npos ? text.size() : text.find(L'\0'));
    return Utf8Text(text);
}

void SetWindowTextUtf8(HWND window, const std::string& text)
{
    SetWindowTextW(window, WideText(text).c_str());
}

void TWinUpdateBracket::Begin(HWND control)
{
    if (FDepth++ == 0)
        SendMessageW(control, WM_SETREDRAW, FALSE, 0);
}

void TWinUpdateBracket::End(HWND control)
{
    if (FDepth > 0 && --FDepth == 0) {
        SendMessageW(control, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(control, nullptr, TRUE);
    }
}

// ---- Text ----------------------------------------------------------------

void TWinText::SetText(const std::string& text)
{
    // Edit controls break lines with CR LF only.
    const bool memo = (GetWindowLongPtrW(FControl, GWL_STYLE) & ES_MULTILINE) != 0;
    const std::string shown = memo ? WithLineEnds(text, "\r\n") : text;
    // Setting the same text again would move the cursor of a field being typed in.
    if (WindowText(FControl) == shown)
        return;
    FSetting = true;
    SetWindowTextUtf8(FControl, shown);
    FSetting = false;
    if (OnChange)
        OnChange();
}

std::string TWinText::GetText() const
{
    return WindowText(FControl);
}

void TWinText::Edited()
{
    if (!FSetting && OnChange)
        OnChange();
}

void TWinStatusPanel::SetText(const std::string& text)
{
    // Each change repaints the bar, and the idle text is set at every idle moment.
    if (GetText() != text)
        SendMessageW(FBar, SB_SETTEXTW, static_cast<WPARAM>(FPart), reinterpret_cast<LPARAM>(WideText(text).c_str()));
}

std::string TWinStatusPanel::GetText() const
{
    const LRESULT length = LOWORD(SendMessageW(FBar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(FPart), 0));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(FBar, SB_GETTEXTW, static_cast<WPARAM>(FPart), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return Utf8Text(text);
}

// ---- Check box, swatch, command -----------------------------------------

void TWinCheck::SetChecked(bool checked)
{
    if (IsChecked() == checked)
        return;
    SendMessageW(FBox, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (OnChange)
        OnChange();
}

bool TWinCheck::IsChecked() const
{
    return SendMessageW(FBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TWinCheck::SetEnabled(bool enabled)
{
    EnableWindow(FBox, enabled);
}

bool TWinCheck::IsEnabled() const
{
    return IsWindowEnabled(FBox) != FALSE;
}

void TWinCheck::Clicked()
{
    if (OnChange)
        OnChange();
}

TWinSwatch::TWinSwatch(HWND label, TColor color)
    : FLabel(label), FColor(color), FBrush(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(color))))
{
}

TWinSwatch::~TWinSwatch()
{
    DeleteObject(FBrush);
}

void TWinSwatch::SetColor(TColor color)
{
    FColor = color;
    DeleteObject(FBrush);
    FBrush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(color)));
    InvalidateRect(FLabel, nullptr, TRUE);
}

TColor TWinSwatch::GetColor() const
{
    return FColor;
}

TWinCommand::TWinCommand(std::vector<HWND> buttons, bool enabled) : FButtons(std::move(buttons)), FEnabled(enabled)
{
    SetEnabled(enabled);
}

void TWinCommand::SetEnabled(bool enabled)
{
    FEnabled = enabled;
    for (HWND button : FButtons)
        EnableWindow(button, enabled);
}

// ---- Button and tabs -------------------------------------------------------

TWinButton::TWinButton(HWND button, std::string& hint, std::function<void(TButtonPicture)> setPicture)
    : FButton(button), FHint(hint), FSetPicture(std::move(setPicture))
{
}

void TWinButton::SetCaption(const std::string& caption) { SetWindowTextUtf8(FButton, caption); }
std::string TWinButton::Caption() const { return WindowText(FButton); }
void TWinButton::SetHint(const std::string& hint) { FHint = hint; }
std::string TWinButton::Hint() const { return FHint; }

void TWinButton::SetPicture(TButtonPicture picture)
{
    FSetPicture(picture);
}

void TWinButton::SetEnabled(bool enabled) { EnableWindow(FButton, enabled); }
bool TWinButton::IsEnabled() const { return IsWindowEnabled(FButton) != FALSE; }
void TWinButton::SetFocus() { ::SetFocus(FButton); }

bool TWinButton::IsPointedAt() const
{
    POINT cursor;
    return GetCursorPos(&cursor) && WindowFromPoint(cursor) == FButton;
}

int TWinPageControl::ActivePage() const
{
    return static_cast<int>(SendMessageW(FTabs, TCM_GETCURSEL, 0, 0));
}

void TWinPageControl::SetActivePage(int page)
{
    SendMessageW(FTabs, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
    ShowActiveSheet();
}

void TWinPageControl::ShowActiveSheet()
{
    const int active = ActivePage();
    HWND focused = GetFocus();
    bool focusHidden = false;
    for (int page = 0; page < static_cast<int>(FSheets.size()); ++page) {
        HWND sheet = FSheets[static_cast<std::size_t>(page)];
        if (page == active) {
            ShowWindow(sheet, SW_SHOW);
            continue;
        }
        focusHidden = focusHidden || (focused && IsChild(sheet, focused));
        ShowWindow(sheet, SW_HIDE);
    }
    // A control on a hidden sheet would take the keys; the tabs take them instead.
    if (focusHidden)
        ::SetFocus(FTabs);
}

void TWinPageControl::SetPageEnabled(int page, bool enabled)
{
    if (page >= 0 && page < static_cast<int>(FSheets.size()))
        EnableWindow(FSheets[static_cast<std::size_t>(page)], enabled);
}

bool TWinPageControl::IsPageEnabled(int page) const
{
    return page >= 0 && page < static_cast<int>(FSheets.size()) &&
           IsWindowEnabled(FSheets[static_cast<std::size_t>(page)]) != FALSE;
}

int TWinPageControl::FocusedPage() const
{
    HWND focused = GetFocus();
    for (int page = 0; focused && page < static_cast<int>(FSheets.size()); ++page)
        if (IsChild(FSheets[static_cast<std::size_t>(page)], focused))
            return page;
    return -1;
}

// ---- List view ---------------------------------------------------------------

std::vector<int> TWinListView::SelectedRows() const
{
    std::vector<int> rows;
    int row = -1;
    while ((row = static_cast<int>(SendMessageW(FList, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0)
        rows.push_back(row);
    return rows;
}

int TWinListView::RowCount() const
{
    return static_cast<int>(SendMessageW(FList, LVM_GETITEMCOUNT, 0, 0));
}

int TWinListView::SelectedCount() const
{
    return static_cast<int>(SendMessageW(FList, LVM_GETSELECTEDCOUNT, 0, 0));
}

void TWinListView::Clear()
{
    ++FChanging;
    SendMessageW(FList, LVM_DELETEALLITEMS, 0, 0);
    FSubItems.clear();
    --FChanging;
}

void TWinListView::AddRow(const std::string& caption)
{
    std::wstring text = WideText(caption);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = RowCount();
    item.pszText = text.data();
    ++FChanging;
    if (SendMessageW(FList, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) >= 0)
        FSubItems.push_back(0);
    --FChanging;
}

int TWinListView::SubItemCount(int row) const
{
    return row >= 0 && row < static_cast<int>(FSubItems.size()) ? FSubItems[static_cast<std::size_t>(row)] : 0;
}

namespace {

void SetItemText(HWND list, int row, int column, const std::string& text)
{
    std::wstring wide = WideText(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wide.data();
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

} // namespace

void TWinListView::AddSubItem(int row, const std::string& text)
{
    if (row < 0 || row >= static_cast<int>(FSubItems.size()))
        return;
    int& count = FSubItems[static_cast<std::size_t>(row)];
    SetItemText(FList, row, ++count, text);
}

void TWinListView::SetFirstSubItem(int row, const std::string& text)
{
    if (row < 0 || row >= static_cast<int>(FSubItems.size()))
        return;
    int& count = FSubItems[static_cast<std::size_t>(row)];
    count = std::max(count, 1);
    SetItemText(FList, row, 1, text);
}

void TWinListView::BeginUpdate() { FUpdates.Begin(FList); }
void TWinListView::EndUpdate() { FUpdates.End(FList); }

namespace {

HWND Header(HWND list)
{
    return reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
}

int ColumnCount(HWND list)
{
    HWND header = Header(list);
    return header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

TAlignment ToAlignment(int format)
{
    switch (format & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_CENTER: return TAlignment::Center;
    case LVCFMT_RIGHT: return TAlignment::Right;
    default: return TAlignment::Left;
    }
}

int ToFormat(TAlignment alignment)
{
    switch (alignment) {
    case TAlignment::Center: return LVCFMT_CENTER;
    case TAlignment::Right: return LVCFMT_RIGHT;
    case TAlignment::Left: break;
    }
    return LVCFMT_LEFT;
}

} // namespace

std::vector<TListColumn> TWinListColumns::Columns() const
{
    std::vector<TListColumn> columns;
    const int count = ColumnCount(FList);
    for (int i = 0; i < count; ++i) {
        wchar_t caption[256] = L"";
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
        column.pszText = caption;
        column.cchTextMax = 256;
        SendMessageW(FList, LVM_GETCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
        columns.push_back({Utf8Text(caption), column.cx, ToAlignment(column.fmt), i == count - 1 && FAutoSize});
    }
    return columns;
}

void TWinListColumns::SetColumns(const std::vector<TListColumn>& columns)
{
    const int count = static_cast<int>(columns.size());
    if (count == 0)
        return;
    while (ColumnCount(FList) > count)
        SendMessageW(FList, LVM_DELETECOLUMN, static_cast<WPARAM>(ColumnCount(FList) - 1), 0);
    for (int i = 0; i < count; ++i) {
        const TListColumn& given = columns[static_cast<std::size_t>(i)];
        std::wstring caption = WideText(given.Caption);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
        column.pszText = caption.data();
        column.fmt = ToFormat(given.Alignment);
        column.cx = given.Width > 0 ? given.Width : 50;
        const UINT message = i < ColumnCount(FList) ? LVM_SETCOLUMNW : LVM_INSERTCOLUMNW;
        SendMessageW(FList, message, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    FAutoSize = columns.back().AutoSize;
    FitLastColumn();
}

void TWinListColumns::FitLastColumn()
{
    const int count = ColumnCount(FList);
    if (FAutoSize && count > 0)
        SendMessageW(FList, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(count - 1), LVSCW_AUTOSIZE_USEHEADER);
}

// ---- List box and combo box --------------------------------------------------

int TWinListBox::Count() const { return static_cast<int>(SendMessageW(FList, LB_GETCOUNT, 0, 0)); }
int TWinListBox::SelectedIndex() const { return static_cast<int>(SendMessageW(FList, LB_GETCURSEL, 0, 0)); }

void TWinListBox::SetSelectedIndex(int index)
{
    SendMessageW(FList, LB_SETCURSEL, index >= 0 && index < Count() ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1), 0);
}

void TWinListBox::Clear() { SendMessageW(FList, LB_RESETCONTENT, 0, 0); }

void TWinListBox::AddItem(const std::string& text)
{
    SendMessageW(FList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideText(text).c_str()));
}

void TWinListBox::BeginUpdate() { FUpdates.Begin(FList); }
void TWinListBox::EndUpdate() { FUpdates.End(FList); }

int TWinComboBox::Count() const { return static_cast<int>(SendMessageW(FCombo, CB_GETCOUNT, 0, 0)); }
void TWinComboBox::Clear() { SendMessageW(FCombo, CB_RESETCONTENT, 0, 0); }

void TWinComboBox::AddItem(const std::string& text)
{
    SendMessageW(FCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideText(text).c_str()));
}

void TWinComboBox::SetSelectedIndex(int index)
{
    SendMessageW(FCombo, CB_SETCURSEL, index >= 0 && index < Count() ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1), 0);
}

int TWinComboBox::SelectedIndex() const { return static_cast<int>(SendMessageW(FCombo, CB_GETCURSEL, 0, 0)); }

void TWinComboBox::SetEnabled(bool enabled)
{
    EnableWindow(FCombo, enabled);
    if (FCaption)
        EnableWindow(FCaption, enabled);
}

bool TWinComboBox::IsEnabled() const { return IsWindowEnabled(FCombo) != FALSE; }
void TWinComboBox::BeginUpdate() { FUpdates.Begin(FCombo); }
void TWinComboBox::EndUpdate() { FUpdates.End(FCombo); }

// ---- Progress bar ----------------------------------------------------------

TWinProgressBar::TWinProgressBar(HWND bar) : FBar(bar)
{
    SendMessageW(FBar, PBM_SETRANGE32, 0, FMax);
}

void TWinProgressBar::SetMax(int max)
{
    FMax = std::max(0, max);
    FPosition = std::min(FPosition, FMax);
    Show();
}

void TWinProgressBar::SetPosition(int position)
{
    // A position outside the range shows as its nearest end instead of being ignored.
    FPosition = std::clamp(position, 0, FMax);
    Show();
}

void TWinProgressBar::Show()
{
    const bool atEnd = FPosition == 0 || FPosition == FMax;
    // Shown and exact fractions of the bar, compared without division.
    const long long span = std::max(1, FMax);
    const long long shownSpan = std::max(1, FShownMax);
    const long long apart = static_cast<long long>(FPosition) * shownSpan - static_cast<long long>(FShownPosition) * span;
    if (!atEnd && (apart < 0 ? -apart : apart) * 200 < span * shownSpan)
        return;
    if (FShownMax != FMax) {
        FShownMax = FMax;
        SendMessageW(FBar, PBM_SETRANGE32, 0, FMax);
    }
    FShownPosition = FPosition;
    SendMessageW(FBar, PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

// ---- Window placement ---------------------------------------------------------

namespace {

MONITORINFO MonitorOf(HWND window)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info);
    return info;
}

} // namespace

TWindowBounds TWinWindowPlacement::NormalBounds() const
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(FWindow, &placement);
    const RECT& r = placement.rcNormalPosition;
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void TWinWindowPlacement::SetNormalBounds(const TWindowBounds& bounds)
{
    const int dpi = WindowDpi(FWindow);
    RECT rect{bounds.Left, bounds.Top, bounds.Left + std::max(bounds.Width, Scale(FMinimum.cx, dpi)),
              bounds.Top + std::max(bounds.Height, Scale(FMinimum.cy, dpi))};
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(FWindow, &placement);
    placement.rcNormalPosition = rect;
    placement.flags = 0;
    // A window not shown yet stays hidden until it is shown in its state.
    placement.showCmd = IsWindowVisible(FWindow) ? placement.showCmd : SW_HIDE;
    SetWindowPlacement(FWindow, &placement);
}

TWindowState TWinWindowPlacement::State() const
{
    if (!IsWindowVisible(FWindow))
        return FFirstShow == SW_SHOWMINIMIZED   ? TWindowState::Minimized
               : FFirstShow == SW_SHOWMAXIMIZED ? TWindowState::Maximized
                                                : TWindowState::Normal;
    if (IsIconic(FWindow))
        return TWindowState::Minimized;
    return IsZoomed(FWindow) ? TWindowState::Maximized : TWindowState::Normal;
}

void TWinWindowPlacement::SetState(TWindowState state)
{
    const int show = state == TWindowState::Minimized   ? SW_SHOWMINIMIZED
                     : state == TWindowState::Maximized ? SW_SHOWMAXIMIZED
                                                        : SW_SHOWNORMAL;
    if (IsWindowVisible(FWindow))
        ShowWindow(FWindow, show);
    else
        FFirstShow = show;
}

bool TWinWindowPlacement::IsVisible() const { return IsWindowVisible(FWindow) != FALSE; }

int TWinWindowPlacement::ScreenWidth() const
{
    const RECT r = MonitorOf(FWindow).rcMonitor;
    return r.right - r.left;
}

int TWinWindowPlacement::ScreenHeight() const
{
    const RECT r = MonitorOf(FWindow).rcMonitor;
    return r.bottom - r.top;
}

int TWinWindowPlacement::PixelsPerInch() const { return WindowDpi(FWindow); }

std::vector<TWindowBounds> TWinWindowPlacement::WorkAreas() const
{
    struct TCollect {
        HMONITOR Own;
        std::vector<TWindowBounds> Areas;
    } collect{MonitorFromWindow(FWindow, MONITOR_DEFAULTTOPRIMARY), {}};
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM param) -> BOOL {
            auto& c = *reinterpret_cast<TCollect*>(param);
            MONITORINFO info{};
            info.cbSize = sizeof info;
            if (GetMonitorInfoW(monitor, &info)) {
                const RECT& r = info.rcWork;
                const TWindowBounds area{r.left, r.top, r.right - r.left, r.bottom - r.top};
                // The window's own monitor first.
                c.Areas.insert(monitor == c.Own ? c.Areas.begin() : c.Areas.end(), area);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&collect));
    return collect.Areas;
}

} // namespace velmora
