#include "draw/frame_buffer.h"

#include <cstring>

HBITMAP CreateFrameBitmap(HWND window, int32_t width, int32_t height, uint8_t** bits, uint32_t* stride)
{
    int32_t rowPixels = width;
    while ((3 * rowPixels) % 4 != 0)
        ++rowPixels;

    // Room for a 256-entry colour table, unused at 24 bits.
    union {
        BITMAPINFO info;
        uint8_t bytes[sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)];
    } header;
    std::memset(&header, 0, sizeof(header));
    header.info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.info.bmiHeader.biWidth = rowPixels;
    header.info.bmiHeader.biHeight = -height;
    header.info.bmiHeader.biPlanes = 1;
    header.info.bmiHeader.biBitCount = 24;
    header.info.bmiHeader.biCompression = BI_RGB;

    WindowDC windowDC(window);
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(windowDC.dc, &header.info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    *bits = bitmap != nullptr ? static_cast<uint8_t*>(pixels) : nullptr;
    *stride = static_cast<uint32_t>(3 * rowPixels);
    return bitmap;
}
