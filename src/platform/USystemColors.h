// System colours: a platform colour value below zero names one of the
// desktop's own colours (COLOR_* in its low byte); this resolves it to RGB.
#pragma once

#include "shared/UGenDeclarations.h"

namespace velmora {

// The RGB value (0x00BBGGRR) of a system colour index: the system's current
// colour on Windows, the standard Windows default scheme elsewhere; black for
// an index the system does not know.
TColor SystemColor(int index);

// A negative colour becomes the system colour named by its low byte; any
// other value is returned unchanged.
TColor ColorToRGB(TColor color);

} // namespace velmora
