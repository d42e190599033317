// System colours: a platform colour value below zero names one of the
// desktop's own colours (COLOR_* in its low byte); this resolves it to RGB.
#pragma once

#include <string>

#include "shared/UGenDeclarations.h"

namespace velmora {

// The RGB value (0x00BBGGRR) of a system colour index: the system's current
// colour on Windows, the standard Windows default scheme elsewhere; black for
// an index the system does not know.
TColor SystemColor(int index);

// A negative colour becomes the system colour named by its low byte; any
// other value is returned unchanged.
TColor ColorToRGB(TColor color);

// The value that names system colour index, as stored in profiles.
constexpr TColor SystemColorValue(int index)
{
    return static_cast<TColor>(0xFF000000u | static_cast<unsigned>(index & 0xFF));
}
// A readable name of a system colour index ("windowText"); empty for an index
// that names no colour.
std::string SystemColorName(int index);
// The index of a name given by SystemColorName, or -1.
int SystemColorIndex(const std::string& name);

} // namespace velmora
