#include "draw/frame_buffer.h"

#include <cstring>

// A top-down DIB section, its pixels in *bits (null when it cannot be made).
static HBITMAP CreateTopDownBitmap(HWND window, int32_t width, int32_t height, uint16_t bitCount, uint8_t** bits)
{
    // Room for a 256-entry colour table, unused at 24 and 32 bits.
    union {
        BITMAPINFO info;
        uint8_t bytes[sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)];
    } header;
    std::memset(&header, 0, sizeof(header));
    header.info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.info.bmiHeader.biWidth = width;
    header.info.bmiHeader.biHeight = -height;
    header.info.bmiHeader.biPlanes = 1;
    header.info.bmiHeader.biBitCount = bitCount;
    header.info.bmiHeader.biCompression = BI_RGB;

    WindowDC windowDC(window);
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(windowDC.dc, &header.info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    *bits = bitmap != nullptr ? static_cast<uint8_t*>(pixels) : nullptr;
    return bitmap;
}

HBITMAP CreateFrameBitmap(HWND window, int32_t width, int32_t height, uint8_t** bits, uint32_t* stride)
{
    int32_t rowPixels = width;
    while ((3 * rowPixels) % 4 != 0)
        ++rowPixels;
    *stride = static_cast<uint32_t>(3 * rowPixels);
    return CreateTopDownBitmap(window, rowPixels, height, 24, bits);
}

HBITMAP CreatePresentationBitmap(HWND window, int32_t width, int32_t height)
{
    uint8_t* bits = nullptr;
    return CreateTopDownBitmap(window, width, height, 32, &bits);
}

void CopyBitmap(HBITMAP from, HBITMAP to, int32_t width, int32_t height)
{
    MemoryDC source(nullptr);
    MemoryDC target(nullptr);
    GdiSelection sourceBitmap(source.dc, from, GdiSelection::Borrowed);
    GdiSelection targetBitmap(target.dc, to, GdiSelection::Borrowed);
    BitBlt(target.dc, 0, 0, width, height, source.dc, 0, 0, SRCCOPY);
}
