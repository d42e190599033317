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
    std::string ProgramDir;                // settings and default profile; ends with a separator
    // Where dumps are looked for and pages written by default, ending with a
    // separator; empty: ProgramDir. Initialised here so that callers that
    // leave it out stay free of missing-initializer warnings.
    std::string UserFilesDir{};
};

} // namespace velmora
