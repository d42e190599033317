#include "window/win32/UWinJpegImage.h"

#include <wincodec.h>

namespace velmora {

namespace {

// Releases a COM object when it goes.
template <class T>
struct TReleased {
    T* Object = nullptr;
    ~TReleased()
    {
        if (Object)
            Object->Release();
    }
    T** operator&() { return &Object; }
    T* operator->() const { return Object; }
};

} // namespace

HBITMAP DecodeJpeg(std::span<const unsigned char> bytes, SIZE& size)
{
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    HBITMAP bitmap = nullptr;
    {
        TReleased<IWICImagingFactory> factory;
        TReleased<IWICStream> stream;
        TReleased<IWICBitmapDecoder> decoder;
        TReleased<IWICBitmapFrameDecode> frame;
        TReleased<IWICFormatConverter> converter;
        UINT width = 0, height = 0;
        if (!bytes.empty() && bytes.size() < 0x7FFFFFFF &&
            SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))) &&
            SUCCEEDED(factory->CreateStream(&stream)) &&
            SUCCEEDED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()))) &&
            SUCCEEDED(factory->CreateDecoderFromStream(stream.Object, nullptr, WICDecodeMetadataCacheOnLoad, &decoder)) &&
            SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
            SUCCEEDED(converter->Initialize(frame.Object, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr,
                                            0.0, WICBitmapPaletteTypeCustom)) &&
            SUCCEEDED(converter->GetSize(&width, &height)) && width > 0 && height > 0 && width < 16384 &&
            height < 16384) {
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof info.bmiHeader;
            info.bmiHeader.biWidth = static_cast<LONG>(width);
            info.bmiHeader.biHeight = -static_cast<LONG>(height); // top row first
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            info.bmiHeader.biCompression = BI_RGB;
            void* pixels = nullptr;
            bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
            const UINT stride = width * 4;
            if (bitmap && FAILED(converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(pixels)))) {
                DeleteObject(bitmap);
                bitmap = nullptr;
            }
            size = {static_cast<LONG>(width), static_cast<LONG>(height)};
        }
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return bitmap;
}

} // namespace velmora
