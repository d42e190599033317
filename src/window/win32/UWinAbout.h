// The About box's Win32 front end: the author, the logo, the contact address
// that opens the mail program, and the version, drawn on black at fixed
// positions in a tool window that only its Close button closes. Its
// behaviour is the logic's (TfrmAbout); a new box is made for every showing.
#pragma once

#include <string>

#include "window/UAbout.h"
#include "window/win32/UWinApi.h"

namespace velmora {

// Shows the box modally over owner. iniFileName: the settings file that
// remembers its position (the main window's); empty: neither restored nor saved.
void ShowWinAboutBox(HWND owner, const TfrmAbout::TOpenUrl& openUrl, const std::string& iniFileName);

} // namespace velmora
