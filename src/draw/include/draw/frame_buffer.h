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

// The frame buffer: one top-down DIB section of FrameRowPixels(width) pixels a row at 32 bits,
// made with the window's DC, which the closing screen draws into and whole frames are shown from
// as they are (Wine turns 24-bit pixels into its 32-bit window surface's on every copy, which
// costs several times the copy itself). While the arcade layer draws, the same memory holds its
// 24-bit frame instead (PackFrameForArcade): blue-green-red rows *stride bytes apart. Null (and
// *bits null) when it cannot be made.
HBITMAP CreateFrameBitmap(HWND window, int32_t width, int32_t height, uint8_t** bits, uint32_t* stride);

// The frame buffer's memory turned in place from its 32-bit frame into the arcade layer's 24-bit
// one (rows `stride` bytes apart), and back; width as given to CreateFrameBitmap.
void PackFrameForArcade(uint8_t* bits, int32_t width, int32_t height, uint32_t stride);
void UnpackFrameFromArcade(uint8_t* bits, int32_t width, int32_t height, uint32_t stride);

// The whole 32-bit frame to the window's top-left corner, straight from its bits: no memory DC
// to make and select into.
void ShowFrame(HWND window, const uint8_t* bits, int32_t width, int32_t height);

// Copies parts of the arcade layer's 24-bit frame to the same place in a window.
struct ArcadeFrameCopy {
    WindowDC window;
    const uint8_t* bits;
    int32_t width;
    int32_t height;
    uint32_t stride;

    ArcadeFrameCopy(HWND target, const uint8_t* bits, int32_t width, int32_t height, uint32_t stride)
        : window(target), bits(bits), width(width), height(height), stride(stride)
    {
    }
    // right and bottom exclusive. Without a frame buffer (none could be made) the area is filled
    // plain rather than left with stale pixels.
    void Copy(const RECT& r) const;
};
