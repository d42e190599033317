// Where each control of a sheet stands: a rectangle of the design (drawn at 96
// dots per inch for a sheet of DesignSheetSize), inside the sheet or a frame,
// and the edges it stays fixed to when the window is resized. Each control
// keeps its distances to those edges; fixed to both left and right it grows in
// width, fixed to both top and bottom in height. Its name and hint go with it.
#pragma once

#include <deque>
#include <string>
#include <string_view>

#include "window/win32/UWinApi.h"

namespace velmora {

enum TAnchors : unsigned {
    akLeft = 1,
    akTop = 2,
    akRight = 4,
    akBottom = 8,
    akTopLeft = akLeft | akTop,
    akAll = akLeft | akTop | akRight | akBottom,
};

struct TPlacedControl {
    HWND Window;
    int Parent;    // the frame it sits in (an index), -1 for the sheet itself
    RECT Design;   // inside its parent, at 96 dots per inch
    unsigned Anchors;
    std::string Name;
    std::string Hint; // " " blanks the hint panel; empty defers to the parent's
    RECT Current{};   // on the sheet, as last arranged
};

class TWinLayout {
public:
    // The size every sheet is designed for: the sheet of a window at its initial size.
    static constexpr SIZE DesignSheetSize{578, 279};

    // Places a control; frames come before the controls inside them. Returns its index.
    int Add(HWND window, int parent, RECT design, unsigned anchors, std::string name, std::string hint);
    // Moves the controls of a sheet to their places for its present size.
    void Arrange(HWND sheet, int dpi);

    // The control of a name or a window; null when there is none.
    const TPlacedControl* Find(std::string_view name) const;
    TPlacedControl* Find(HWND window);
    const TPlacedControl* Parent(const TPlacedControl& control) const;
    // The innermost control of the sheet whose place holds the point (in the
    // sheet's client coordinates), for labels and frames that take no mouse.
    const TPlacedControl* At(HWND sheet, POINT point) const;
    const std::deque<TPlacedControl>& Controls() const { return FControls; }

private:
    int Depth(const TPlacedControl& control) const;

    std::deque<TPlacedControl> FControls; // stable, so a button may keep its hint's place
};

} // namespace velmora
