#include "window/win32/UWinLayout.h"

namespace velmora {

int TWinLayout::Add(HWND window, int parent, RECT design, unsigned anchors, std::string name, std::string hint)
{
    FControls.push_back({window, parent, design, anchors, std::move(name), std::move(hint)});
    return static_cast<int>(FControls.size()) - 1;
}

namespace {

// One direction of a control: its start and length inside a parent that has
// grown by `grown` since the design, by the edges the control is fixed to.
void Follow(long& start, long& length, long grown, bool fixedStart, bool fixedEnd)
{
    if (fixedStart && fixedEnd)
        length += grown;
    else if (fixedEnd)
        start += grown;
}

} // namespace

void TWinLayout::Arrange(HWND sheet, int dpi)
{
    RECT client;
    GetClientRect(sheet, &client);
    HDWP moves = BeginDeferWindowPos(static_cast<int>(FControls.size()));
    for (TPlacedControl& c : FControls) {
        if (GetParent(c.Window) != sheet)
            continue;
        // The parent's present place, and its design size.
        RECT parentNow = client;
        SIZE parentDesign = DesignSheetSize;
        if (c.Parent >= 0) {
            const TPlacedControl& p = FControls[static_cast<std::size_t>(c.Parent)];
            parentNow = p.Current;
            parentDesign = {p.Design.right - p.Design.left, p.Design.bottom - p.Design.top};
        }
        long left = Scale(c.Design.left, dpi), top = Scale(c.Design.top, dpi);
        long width = Scale(c.Design.right - c.Design.left, dpi), height = Scale(c.Design.bottom - c.Design.top, dpi);
        Follow(left, width, (parentNow.right - parentNow.left) - Scale(parentDesign.cx, dpi), c.Anchors & akLeft,
               c.Anchors & akRight);
        Follow(top, height, (parentNow.bottom - parentNow.top) - Scale(parentDesign.cy, dpi), c.Anchors & akTop,
               c.Anchors & akBottom);
        c.Current = {parentNow.left + left, parentNow.top + top, parentNow.left + left + width,
                     parentNow.top + top + height};
        if (moves)
            moves = DeferWindowPos(moves, c.Window, nullptr, c.Current.left, c.Current.top, width, height,
                                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (moves)
        EndDeferWindowPos(moves);
}

const TPlacedControl* TWinLayout::Find(std::string_view name) const
{
    for (const TPlacedControl& c : FControls)
        if (c.Name == name)
            return &c;
    return nullptr;
}

TPlacedControl* TWinLayout::Find(HWND window)
{
    for (TPlacedControl& c : FControls)
        if (c.Window == window)
            return &c;
    return nullptr;
}

const TPlacedControl* TWinLayout::Parent(const TPlacedControl& control) const
{
    return control.Parent >= 0 ? &FControls[static_cast<std::size_t>(control.Parent)] : nullptr;
}

int TWinLayout::Depth(const TPlacedControl& control) const
{
    int depth = 0;
    for (const TPlacedControl* c = Parent(control); c; c = Parent(*c))
        ++depth;
    return depth;
}

const TPlacedControl* TWinLayout::At(HWND sheet, POINT point) const
{
    const TPlacedControl* found = nullptr;
    for (const TPlacedControl& c : FControls)
        if (GetParent(c.Window) == sheet && PtInRect(&c.Current, point) && (!found || Depth(c) >= Depth(*found)))
            found = &c;
    return found;
}

} // namespace velmora
