#include <windows.h>

#include <cstring>

#include "arcade/ma_api.h"
#include "draw/frame_clock.h"
#include "draw/gdi_selection.h"
#include "shell/screen_controller.h"
#include "shell/wrapper_window.h"

bool ScreenController::IsTickDue()
{
    return AdvanceFrameClock(timeGetTime(), lastTickTime, tickBacklog);
}

void ScreenController::CreateFrameBuffer()
{
    if (frameBitmap != nullptr) {
        DeleteObject(frameBitmap);
        frameBitmap = nullptr;
        frameBits = nullptr;
    }
    // Rows of a 24-bit DIB start on 4-byte boundaries: widen to a multiple of 4 pixels.
    int32_t rowPixels = clientWidth;
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
    header.info.bmiHeader.biHeight = -clientHeight;
    header.info.bmiHeader.biPlanes = 1;
    header.info.bmiHeader.biBitCount = 24;
    header.info.bmiHeader.biCompression = BI_RGB;

    WindowDC window(WrapperWindow);
    void* bits = nullptr;
    frameBitmap = CreateDIBSection(window.dc, &header.info, DIB_RGB_COLORS, &bits, nullptr, 0);
    frameBits = frameBitmap != nullptr ? static_cast<uint8_t*>(bits) : nullptr;
    frameStride = static_cast<uint32_t>(3 * rowPixels);
}

void ScreenController::Present()
{
    WindowDC window(WrapperWindow);
    if (frameBitmap == nullptr) {
        // No frame buffer could be made: the window shows a plain area rather than stale pixels.
        const RECT client = {0, 0, clientWidth, clientHeight};
        FillRect(window.dc, &client, GetSysColorBrush(COLOR_WINDOW));
        return;
    }
    MemoryDC memory(window.dc);
    GdiSelection frame(memory.dc, frameBitmap, GdiSelection::Borrowed);
    if (menuSessionActive) {
        // The count is asked again before each copy: the arcade layer may change its mind.
        for (int32_t i = 0; i < MA_GetNumberOfRectsToUpdate(); ++i) {
            const RECT r = MA_GetUpdateRect(i);
            BitBlt(window.dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory.dc, r.left, r.top, SRCCOPY);
        }
    } else {
        BitBlt(window.dc, 0, 0, clientWidth, clientHeight, memory.dc, 0, 0, SRCCOPY);
    }
}
