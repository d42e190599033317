// The window's option controls: one row per control that shows an option of
// the profile (or of the settings file) and copies it back. The logic walks
// this table to show a profile, to mark edits and to copy a page back; each
// front end walks it to adapt its widgets and connect their events. Adding an
// option control is one row here plus its widget, of the row's name, in each
// front end.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace velmora {

class TCustomIni;
class THighlightProfile;

// The window's tabs, left to right.
enum TSheet : int { ConvertSheet, HighlightOptSheet, ColorProfileSheet, PageStyleSheet, ConfigSheet };

// What an option control is, and so which interface of platform/UControls.h adapts it.
enum class TOptionKind {
    Edit,   // one-line edit, file-name or folder field: ITextControl
    Memo,   // multi-line edit, lines joined by CR LF: ITextControl
    Check,  // check box: ICheckControl
    Choice, // drop-down list, its selected index: IComboBox
    Swatch, // colour swatch, changed by the colour buttons only: IColorControl
};

// The value a control shows: its text, whether it is ticked, its selected index or its colour.
using TOptionValue = std::variant<std::string, bool, int>;

// Where the options live: the profile's groups, and the settings file.
struct TOptionGroups {
    THighlightProfile& Profile;
    TCustomIni& Ini;
};

struct TOptionControl {
    const char* Name;
    TOptionKind Kind;
    TSheet Sheet; // the page whose copy operation copies the control back
    std::function<TOptionValue(TOptionGroups&)> Get;                // the option as the control shows it
    std::function<void(TOptionGroups&, const TOptionValue&)> Set;   // the control's value into the option
};

// Every option control; the rows of each page in the order its copy runs.
std::span<const TOptionControl> OptionControls();

} // namespace velmora
