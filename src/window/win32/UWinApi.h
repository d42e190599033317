// The Win32 headers as the front end uses them (the wide-character functions
// only), and the screen resolution of a window with the fonts made for it.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <commctrl.h>

namespace velmora {

// The dots per inch of the monitor a window is on (96 where the system cannot
// tell), and of the system for a window not made yet.
int WindowDpi(HWND window);
int SystemDpi();

// A length of the design (drawn at 96 dots per inch) at the given resolution.
inline int Scale(int length, int dpi)
{
    return MulDiv(length, dpi, 96);
}

// The system's message font at a resolution; pointSize > 0 and the flags
// change its size and weight. The caller deletes it.
HFONT MessageFont(int dpi, int pointSize = 0, bool bold = false, bool underline = false);

// The outer size of a window whose client area is given, at a resolution.
SIZE OuterSize(SIZE client, DWORD style, DWORD exStyle, int dpi);

} // namespace velmora
