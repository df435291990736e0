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
    GdiFlush();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = bits + y * stride + 3 * x;
            p[0] = GetBValue(colour);
            p[1] = GetGValue(colour);
            p[2] = GetRValue(colour);
        }
    }
}

static LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND)
        return 1;
    if (message == WM_PAINT) {
        ValidateRect(window, nullptr);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TestWindow::TestWindow(int clientWidth, int clientHeight)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = PlainWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "MorvessaTestWindow";
    RegisterClassA(&windowClass);
    RECT outer = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&outer, WS_POPUP, FALSE, 0);
    window = CreateWindowExA(WS_EX_TOPMOST, "MorvessaTestWindow", "test", WS_POPUP | WS_VISIBLE, 50, 50,
                             outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    Pump();
}

TestWindow::~TestWindow()
{
    DestroyWindow(window);
}

void TestWindow::Pump() const
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void TestWindow::Capture(PixelCanvas& into) const
{
    HDC screen = GetDC(window);
    BitBlt(into.dc, 0, 0, into.width, into.height, screen, 0, 0, SRCCOPY);
    ReleaseDC(window, screen);
    GdiFlush();
}
