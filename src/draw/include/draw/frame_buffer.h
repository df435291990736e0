#pragma once
#include <windows.h>

#include <cstdint>

#include "draw/gdi_selection.h"

const uint16_t FRAME_BYTES_PER_PIXEL = 3;

// Rows are widened to a multiple of 4 pixels so that each starts on a 4-byte boundary.
constexpr int32_t FrameRowPixels(int32_t width)
{
    return (width + 3) / 4 * 4;
}

// A 24-bit top-down DIB section, blue-green-red, made with the window's DC, of rows of
// FrameRowPixels(width); *stride gets their length in bytes. Null (and *bits null) when it
// cannot be made.
HBITMAP CreateFrameBitmap(HWND window, int32_t width, int32_t height, uint8_t** bits, uint32_t* stride);

// A 32-bit top-down DIB section of that size, blue-green-red-unused, for showing a 24-bit frame
// from: Wine turns 24-bit pixels into its 32-bit window surface's on every copy to a window,
// which costs several times the copy itself. Null (and *bits null) when it cannot be made.
HBITMAP CreatePresentationBitmap(HWND window, int32_t width, int32_t height, uint8_t** bits);

// The pixels of a 32-bit top-down bitmap of that size to the window's top-left corner. Straight
// from the bits, it needs neither a memory DC nor a selection: a whole frame on every tick costs
// about half of a BitBlt's.
void ShowPresentationBits(HWND window, const uint8_t* bits, int32_t width, int32_t height);

// Every pixel of one bitmap into another of at least that size, at the same place.
void CopyBitmap(HBITMAP from, HBITMAP to, int32_t width, int32_t height);

// Copies parts of a frame bitmap to the same place in a window, through DCs of its own.
struct FrameCopy {
    WindowDC window;
    MemoryDC memory;
    GdiSelection frame;

    FrameCopy(HWND target, HBITMAP bitmap)
        : window(target), memory(window.dc), frame(memory.dc, bitmap, GdiSelection::Borrowed)
    {
    }
    // right and bottom exclusive. Without a bitmap (none could be made) the area is filled plain
    // rather than left with stale pixels.
    void Copy(const RECT& r) const
    {
        if (frame.object == nullptr)
            FillRect(window.dc, &r, GetSysColorBrush(COLOR_WINDOW));
        else
            BitBlt(window.dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory.dc, r.left, r.top, SRCCOPY);
    }
};
