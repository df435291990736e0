#pragma once
#include <windows.h>

#include <cstdint>

// A 24-bit top-down DIB section selected into a memory DC: something to draw into and read back.
struct PixelCanvas {
    int width;
    int height;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    uint8_t* bits = nullptr;
    uint32_t stride = 0;

    PixelCanvas(int width, int height, COLORREF fill = RGB(0, 0, 0));
    ~PixelCanvas();
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;

    COLORREF At(int x, int y) const;
    void Fill(COLORREF colour);
};

// A visible top-level window with a client area of the given size, for presenting into.
struct TestWindow {
    HWND window = nullptr;
    TestWindow(int clientWidth, int clientHeight);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    // The window's client pixels as they are on screen now.
    void Capture(PixelCanvas& into) const;
};
