// The real services of a Windows session for the window.
#pragma once

#include "window/UDesktopSession.h"

namespace velmora {

// The system's message boxes and common dialogs, the shell for addresses and
// the thread's message pump, with the registry and the program's directory.
class TWinDesktopServices : public TDesktopSession {
public:
    TWinDesktopServices();
};

} // namespace velmora
