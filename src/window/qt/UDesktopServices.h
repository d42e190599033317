// The real services of a desktop session for the Qt window.
#pragma once

#include "window/UDesktopSession.h"

namespace velmora {

// Qt's message boxes and dialogs, QDesktopServices and Qt's event processing,
// with the system registry and the program's directory.
class TDesktopServices : public TDesktopSession {
public:
    TDesktopServices();
};

} // namespace velmora
