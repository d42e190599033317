// A JPEG picture decoded by the Windows Imaging Component into a bitmap the
// window can show.
#pragma once

#include <span>

#include "window/win32/UWinApi.h"

namespace velmora {

// A 32-bit bitmap of the picture (the caller deletes it), and its size in
// size; null when the bytes are no picture the system can read.
HBITMAP DecodeJpeg(std::span<const unsigned char> bytes, SIZE& size);

} // namespace velmora
