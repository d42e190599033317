// The services of a real desktop session, whatever draws the window: the front
// end's message boxes, dialogs, address opener and event pump, with the
// system registry and the program's folders found from the running program.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "window/UFileDialogs.h"
#include "window/UWindowServices.h"

namespace velmora {

class TDesktopSession {
public:
    TDesktopSession(std::unique_ptr<IMessageBoxes> messageBoxes, std::unique_ptr<IFileDialogs> dialogs,
                    std::function<void(const std::string& url)> openUrl, TProcessMessages processMessages);
    ~TDesktopSession();
    TDesktopSession(const TDesktopSession&) = delete;
    TDesktopSession& operator=(const TDesktopSession&) = delete;
    const TWindowServices& Services() const { return FServices; }

private:
    std::unique_ptr<IMessageBoxes> FMessageBoxes;
    std::unique_ptr<IFileDialogs> FDialogs;
    std::unique_ptr<IRegistry> FRegistry;
    TWindowServices FServices;
};

} // namespace velmora
