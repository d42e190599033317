// Decodes a JPEG picture held in memory. The only image the program decodes
// is the About box logo; page images are only copied.
#pragma once

#include <span>

#include <QImage>

namespace velmora {

// A null image when the bytes are not a whole, readable JPEG picture.
QImage DecodeJpeg(std::span<const unsigned char> data);

} // namespace velmora
