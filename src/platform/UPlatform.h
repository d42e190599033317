// What the model needs from the machine it runs on, handed in by the program
// (or a test) rather than reached through globals.
#pragma once

#include <string>

namespace velmora {

class IRegistry;
class IMessageBoxes;

struct TPlatform {
    const IRegistry* Registry = nullptr; // not owned; null: a machine without a registry
    IMessageBoxes* MessageBoxes = nullptr; // not owned; null: messages are not shown
    std::string ProgramDir;                // settings, default profile and pages; ends with a separator
};

} // namespace velmora
