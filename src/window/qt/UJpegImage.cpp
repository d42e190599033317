// JPEG decoding through libjpeg, called directly.
#include "window/qt/UJpegImage.h"

#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace velmora {

namespace {

// Larger pictures are refused before anything is allocated for them.
constexpr JDIMENSION MaxSide = 8192;

struct TDecodeError {
    jpeg_error_mgr Manager; // first, so that libjpeg's pointer is also ours
    std::jmp_buf Jump;
    bool Warned;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<TDecodeError*>(cinfo->err)->Jump, 1);
}

// libjpeg reports damaged data it can step over (a truncated file, a bad
// marker) as a warning and fills in grey; such a picture counts as unreadable.
void EmitMessage(j_common_ptr cinfo, int level)
{
    if (level < 0)
        reinterpret_cast<TDecodeError*>(cinfo->err)->Warned = true;
}

struct TPixels {
    int Width = 0;
    int Height = 0;
    std::vector<unsigned char> Rgb;
};

// Only trivially destructible locals live here, so leaving through longjmp
// skips no destructor; the pixels belong to the caller.
bool DecodeRgb(std::span<const unsigned char> data, TPixels& out)
{
    jpeg_decompress_struct cinfo{}; // zeroed: safe to destroy even if creating it fails
    TDecodeError error;
    cinfo.err = jpeg_std_error(&error.Manager);
    error.Manager.error_exit = ErrorExit;
    error.Manager.emit_message = EmitMessage;
    error.Warned = false;
    if (setjmp(error.Jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    if (cinfo.image_width > MaxSide || cinfo.image_height > MaxSide) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_start_decompress(&cinfo);
    out.Width = static_cast<int>(cinfo.output_width);
    out.Height = static_cast<int>(cinfo.output_height);
    const std::size_t stride = std::size_t{cinfo.output_width} * 3;
    out.Rgb.resize(stride * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out.Rgb.data() + stride * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return !error.Warned;
}

} // namespace

QImage DecodeJpeg(std::span<const unsigned char> data)
{
    TPixels pixels;
    if (data.empty() || !DecodeRgb(data, pixels))
        return {};
    QImage image(pixels.Width, pixels.Height, QImage::Format_RGB888);
    const std::size_t stride = std::size_t(pixels.Width) * 3;
    for (int y = 0; y < pixels.Height; ++y)
        std::copy_n(pixels.Rgb.data() + stride * std::size_t(y), stride, image.scanLine(y));
    return image;
}

} // namespace velmora
