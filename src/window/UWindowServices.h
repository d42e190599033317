// Everything the window needs from outside itself, handed in at construction so
// that tests give scripted stand-ins: message boxes, dialogs, the registry, the
// program directory, the desktop's URL opener and the message pump. The window
// refuses to be made without any of them.
#pragma once

#include <functional>
#include <string>

#include "platform/UDialogs.h"

namespace velmora {

class IFileDialogs;
class IRegistry;

struct TWindowServices {
    IMessageBoxes* MessageBoxes = nullptr; // not owned
    IFileDialogs* Dialogs = nullptr;       // not owned
    const IRegistry* Registry = nullptr;   // not owned; where there is none, one that opens no key
    std::string ProgramDir;                // settings file, default profile; ends with a separator
    std::string UserFilesDir;              // dumps and pages by default; empty: ProgramDir
    std::string ExecutablePath;            // names the settings file (its name with ".ini")
    std::function<void(const std::string& url)> OpenUrl; // "mailto:..." through the desktop
    TProcessMessages ProcessMessages;      // lets pending window events through during long work
};

} // namespace velmora
