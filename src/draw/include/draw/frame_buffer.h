#pragma once
#include <windows.h>

#include <cstdint>

#include "draw/gdi_selection.h"

// A 24-bit top-down DIB section, blue-green-red, made with the window's DC. Rows are widened
// to a multiple of 4 pixels so that each starts on a 4-byte boundary; *stride gets their
// length in bytes. Null (and *bits null) when it cannot be made.
HBITMAP CreateFrameBitmap(HWND window, int32_t width, int32_t height, uint8_t** bits, uint32_t* stride);

// Copies parts of a frame bitmap to the same place in a window, through DCs of its own.
struct FrameCopy {
    WindowDC window;
    MemoryDC memory;
    GdiSelection frame;

    FrameCopy(HWND target, HBITMAP bitmap)
        : window(target), memory(window.dc), frame(memory.dc, bitmap, GdiSelection::Borrowed)
    {
    }
    // right and bottom exclusive.
    void Copy(const RECT& r) const
    {
        BitBlt(window.dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory.dc, r.left, r.top, SRCCOPY);
    }
};

// A window's client area filled plain, for a window without a frame buffer.
void FillPlain(HWND window, int32_t width, int32_t height);
