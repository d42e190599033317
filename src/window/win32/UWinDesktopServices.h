// The real services of a Windows session for the window.
#pragma once

#include <memory>

#include "window/UWindowServices.h"

namespace velmora {

// The system's message boxes and common dialogs, the registry, the program's
// directory, the shell for addresses, and the thread's message pump.
class TWinDesktopServices {
public:
    TWinDesktopServices();
    ~TWinDesktopServices();
    const TWindowServices& Services() const { return FServices; }

private:
    std::unique_ptr<IMessageBoxes> FMessageBoxes;
    std::unique_ptr<IFileDialogs> FDialogs;
    std::unique_ptr<IRegistry> FRegistry;
    TWindowServices FServices;
};

} // namespace velmora
