#include "pixels.h"

PixelCanvas::PixelCanvas(int width, int height, COLORREF fill) : width(width), height(height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    dc = CreateCompatibleDC(nullptr);
    void* pixels = nullptr;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    previous = SelectObject(dc, bitmap);
    bits = static_cast<uint8_t*>(pixels);
    stride = static_cast<uint32_t>((width * 3 + 3) & ~3);
    Fill(fill);
}

PixelCanvas::~PixelCanvas()
{
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

COLORREF PixelCanvas::At(int x, int y) const
{
    const uint8_t* p = bits + y * stride + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

void PixelCanvas::Fill(COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    const RECT all = {0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    GdiFlush();
}

TestWindow::TestWindow(int clientWidth, int clientHeight)
{
    WNDCLASSA windowClass = {};
    // No background brush: nothing paints over what a test presents.
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "MorvessaTestWindow";
    RegisterClassA(&windowClass);
    RECT outer = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&outer, WS_POPUP, FALSE, 0);
    window = CreateWindowExA(WS_EX_TOPMOST, "MorvessaTestWindow", "test", WS_POPUP | WS_VISIBLE, 50, 50,
                             outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

TestWindow::~TestWindow()
{
    DestroyWindow(window);
}

void TestWindow::Capture(PixelCanvas& into) const
{
    HDC screen = GetDC(window);
    BitBlt(into.dc, 0, 0, into.width, into.height, screen, 0, 0, SRCCOPY);
    ReleaseDC(window, screen);
    GdiFlush();
}
