// How well a text colour stands out from the page background, by the
// relative luminance and contrast ratio of the Web Content Accessibility
// Guidelines, and the nearest colour that stands out enough.
#pragma once

#include "shared/UGenDeclarations.h"

namespace velmora {

// The contrast a coloured run of text keeps with the page background.
inline constexpr double MinimumContrast = 4.5;

// 0 for black to 1 for white. Colours are platform values (0x00BBGGRR);
// system colours are resolved first.
double RelativeLuminance(TColor color);
// From 1 (the same luminance) to 21 (black and white), whichever is lighter.
double ContrastRatio(TColor a, TColor b);
// The colour itself when its contrast with the background is at least
// MinimumContrast; otherwise the least mixed with white (on a dark
// background) or black (on a light one) that reaches it. Always an RGB value.
TColor ReadableColor(TColor color, TColor background);

} // namespace velmora
