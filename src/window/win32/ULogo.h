// The About box logo: the bytes of assets/logo.jpg, built into the program.
#pragma once

#include <span>

namespace velmora {

std::span<const unsigned char> LogoJpeg();

} // namespace velmora
