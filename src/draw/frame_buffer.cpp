#include "draw/frame_buffer.h"

#include <cstring>

namespace {

// Room for a 256-entry colour table, unused at 24 and 32 bits.
union TopDownHeader {
    BITMAPINFO info;
    uint8_t bytes[sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)];

    TopDownHeader(int32_t width, int32_t height, uint16_t bitCount)
    {
        std::memset(this, 0, sizeof(*this));
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = bitCount;
        info.bmiHeader.biCompression = BI_RGB;
    }
};

}  // namespace

// A top-down DIB section, its pixels in *bits (null when it cannot be made).
static HBITMAP CreateTopDownBitmap(HWND window, int32_t width, int32_t height, uint16_t bitCount, uint8_t** bits)
{
    TopDownHeader header(width, height, bitCount);
    WindowDC windowDC(window);
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(windowDC.dc, &header.info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    *bits = bitmap != nullptr ? static_cast<uint8_t*>(pixels) : nullptr;
    return bitmap;
}

HBITMAP CreateFrameBitmap(HWND window, int32_t width, int32_t height, uint8_t** bits, uint32_t* stride)
{
    const int32_t rowPixels = FrameRowPixels(width);
    *stride = static_cast<uint32_t>(3 * rowPixels);
    return CreateTopDownBitmap(window, rowPixels, height, 24, bits);
}

HBITMAP CreatePresentationBitmap(HWND window, int32_t width, int32_t height, uint8_t** bits)
{
    return CreateTopDownBitmap(window, width, height, 32, bits);
}

void ShowPresentationBits(HWND window, const uint8_t* bits, int32_t width, int32_t height)
{
    const TopDownHeader header(width, height, 32);
    WindowDC windowDC(window);
    SetDIBitsToDevice(windowDC.dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), bits, &header.info, DIB_RGB_COLORS);
}

void CopyBitmap(HBITMAP from, HBITMAP to, int32_t width, int32_t height)
{
    MemoryDC source(nullptr);
    MemoryDC target(nullptr);
    GdiSelection sourceBitmap(source.dc, from, GdiSelection::Borrowed);
    GdiSelection targetBitmap(target.dc, to, GdiSelection::Borrowed);
    BitBlt(target.dc, 0, 0, width, height, source.dc, 0, 0, SRCCOPY);
    // The target's bits are read straight after, not through GDI.
    GdiFlush();
}
