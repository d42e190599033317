// The real services of a desktop session for the Qt window.
#pragma once

#include <memory>

#include "window/UWindowServices.h"

namespace velmora {

// The real services of a desktop session: Qt's message boxes and dialogs, the
// system registry, the program's directory, QDesktopServices and Qt's event processing.
class TDesktopServices {
public:
    TDesktopServices();
    ~TDesktopServices();
    const TWindowServices& Services() const { return FServices; }

private:
    std::unique_ptr<IMessageBoxes> FMessageBoxes;
    std::unique_ptr<IFileDialogs> FDialogs;
    std::unique_ptr<IRegistry> FRegistry;
    TWindowServices FServices;
};

} // namespace velmora
