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

HBITMAP CreateFrameBitmap(HWND window, int32_t width, int32_t height, uint8_t** bits, uint32_t* stride)
{
    const int32_t rowPixels = FrameRowPixels(width);
    *stride = static_cast<uint32_t>(3 * rowPixels);
    TopDownHeader header(rowPixels, height, 32);
    WindowDC windowDC(window);
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(windowDC.dc, &header.info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    *bits = bitmap != nullptr ? static_cast<uint8_t*>(pixels) : nullptr;
    return bitmap;
}

// Front to back: every byte lands at or before the place it is read from.
void PackFrameForArcade(uint8_t* bits, int32_t width, int32_t height, uint32_t stride)
{
    const int32_t rowPixels = FrameRowPixels(width);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* from = bits + static_cast<size_t>(y) * rowPixels * 4;
        uint8_t* to = bits + static_cast<size_t>(y) * stride;
        for (int32_t x = 0; x < rowPixels; ++x) {
            const uint8_t blue = from[4 * x], green = from[4 * x + 1], red = from[4 * x + 2];
            to[3 * x] = blue;
            to[3 * x + 1] = green;
            to[3 * x + 2] = red;
        }
    }
}

// Back to front: every byte lands at or after the place it is read from.
void UnpackFrameFromArcade(uint8_t* bits, int32_t width, int32_t height, uint32_t stride)
{
    const int32_t rowPixels = FrameRowPixels(width);
    for (int32_t y = height - 1; y >= 0; --y) {
        const uint8_t* from = bits + static_cast<size_t>(y) * stride;
        uint8_t* to = bits + static_cast<size_t>(y) * rowPixels * 4;
        for (int32_t x = rowPixels - 1; x >= 0; --x) {
            const uint8_t blue = from[3 * x], green = from[3 * x + 1], red = from[3 * x + 2];
            to[4 * x] = blue;
            to[4 * x + 1] = green;
            to[4 * x + 2] = red;
            to[4 * x + 3] = 0;
        }
    }
}

void ShowFrame(HWND window, const uint8_t* bits, int32_t width, int32_t height)
{
    const TopDownHeader header(FrameRowPixels(width), height, 32);
    WindowDC windowDC(window);
    SetDIBitsToDevice(windowDC.dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), bits, &header.info, DIB_RGB_COLORS);
}

void ArcadeFrameCopy::Copy(const RECT& r) const
{
    if (bits == nullptr) {
        FillRect(window.dc, &r, GetSysColorBrush(COLOR_WINDOW));
        return;
    }
    // Only what lies on the frame, as a bitmap selected in a DC would give it.
    const RECT frame = {0, 0, width, height};
    RECT part;
    if (!IntersectRect(&part, &r, &frame))
        return;
    // The part's rows alone, as a DIB of their own: its first row is the part's top whichever
    // way a top-down DIB's source origin is counted.
    const int32_t rows = part.bottom - part.top;
    const TopDownHeader header(FrameRowPixels(width), rows, 24);
    SetDIBitsToDevice(window.dc, part.left, part.top, static_cast<DWORD>(part.right - part.left),
                      static_cast<DWORD>(rows), part.left, 0, 0, static_cast<UINT>(rows),
                      bits + static_cast<size_t>(part.top) * stride, &header.info, DIB_RGB_COLORS);
}
