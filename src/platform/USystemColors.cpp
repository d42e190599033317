// System colour look-up: the desktop's colours on Windows, a fixed copy of the
// standard Windows default scheme on systems that have no such colours.
#include "platform/USystemColors.h"

#include <array>
#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#endif

namespace velmora {

namespace {
#ifndef _WIN32
constexpr TColor Rgb(int r, int g, int b)
{
    return static_cast<TColor>(r | (g << 8) | (b << 16));
}

// Indexed by COLOR_SCROLLBAR (0) .. COLOR_MENUBAR (30).
constexpr std::array<TColor, 31> DefaultScheme = {
    Rgb(200, 200, 200), // COLOR_SCROLLBAR
    Rgb(0, 0, 0),       // COLOR_BACKGROUND (desktop)
    Rgb(153, 180, 209), // COLOR_ACTIVECAPTION
    Rgb(191, 205, 219), // COLOR_INACTIVECAPTION
    Rgb(240, 240, 240), // COLOR_MENU
    Rgb(255, 255, 255), // COLOR_WINDOW
    Rgb(100, 100, 100), // COLOR_WINDOWFRAME
    Rgb(0, 0, 0),       // COLOR_MENUTEXT
    Rgb(0, 0, 0),       // COLOR_WINDOWTEXT
    Rgb(0, 0, 0),       // COLOR_CAPTIONTEXT
    Rgb(180, 180, 180), // COLOR_ACTIVEBORDER
    Rgb(244, 247, 252), // COLOR_INACTIVEBORDER
    Rgb(171, 171, 171), // COLOR_APPWORKSPACE
    Rgb(0, 120, 215),   // COLOR_HIGHLIGHT
    Rgb(255, 255, 255), // COLOR_HIGHLIGHTTEXT
    Rgb(240, 240, 240), // COLOR_BTNFACE
    Rgb(160, 160, 160), // COLOR_BTNSHADOW
    Rgb(109, 109, 109), // COLOR_GRAYTEXT
    Rgb(0, 0, 0),       // COLOR_BTNTEXT
    Rgb(0, 0, 0),       // COLOR_INACTIVECAPTIONTEXT
    Rgb(255, 255, 255), // COLOR_BTNHIGHLIGHT
    Rgb(105, 105, 105), // COLOR_3DDKSHADOW
    Rgb(227, 227, 227), // COLOR_3DLIGHT
    Rgb(0, 0, 0),       // COLOR_INFOTEXT
    Rgb(255, 255, 225), // COLOR_INFOBK
    Rgb(0, 0, 0),       // 25: not used by the system
    Rgb(0, 102, 204),   // COLOR_HOTLIGHT
    Rgb(185, 209, 234), // COLOR_GRADIENTACTIVECAPTION
    Rgb(215, 228, 242), // COLOR_GRADIENTINACTIVECAPTION
    Rgb(51, 153, 255),  // COLOR_MENUHILIGHT
    Rgb(240, 240, 240), // COLOR_MENUBAR
};
#endif
} // namespace

TColor SystemColor(int index)
{
#ifdef _WIN32
    return static_cast<TColor>(GetSysColor(index));
#else
    if (index < 0 || index >= static_cast<int>(DefaultScheme.size()))
        return 0;
    return DefaultScheme[static_cast<std::size_t>(index)];
#endif
}

TColor ColorToRGB(TColor color)
{
    if (color >= 0)
        return color;
    return SystemColor(static_cast<int>(static_cast<std::uint32_t>(color) & 0xFFu));
}

namespace {
// Indexed like the system's colour indexes; 25 names no colour.
constexpr std::array<const char*, 31> SystemColorNames = {
    "scrollBar",       "background",   "activeCaption",   "inactiveCaption",       "menu",
    "window",          "windowFrame",  "menuText",        "windowText",            "captionText",
    "activeBorder",    "inactiveBorder", "appWorkspace",  "highlight",             "highlightText",
    "buttonFace",      "buttonShadow", "grayText",        "buttonText",            "inactiveCaptionText",
    "buttonHighlight", "3dDarkShadow", "3dLight",         "infoText",              "infoBackground",
    "",                "hotLight",     "gradientActiveCaption", "gradientInactiveCaption", "menuHighlight",
    "menuBar",
};
} // namespace

std::string SystemColorName(int index)
{
    if (index < 0 || index >= static_cast<int>(SystemColorNames.size()))
        return std::string();
    return SystemColorNames[static_cast<std::size_t>(index)];
}

int SystemColorIndex(const std::string& name)
{
    for (std::size_t i = 0; i < SystemColorNames.size(); ++i)
        if (!name.empty() && name == SystemColorNames[i])
            return static_cast<int>(i);
    return -1;
}

} // namespace velmora
