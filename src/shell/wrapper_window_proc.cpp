#include <windows.h>

#include <commctrl.h>

#include "arcade/ma_api.h"
#include "host/game_host.h"
#include "shell/screen_controller.h"
#include "shell/wrapper_placement.h"
#include "shell/wrapper_window.h"

// The close request: a question only while the game has a window to lose.
static void RequestQuit()
{
    if (GameHost::Instance().FindGameWindow() != nullptr &&
        MessageBoxA(WrapperWindow, "Are you sure you want to Exit?\n\nYour game will be closed and all progress lost.",
                    "Confirm Exit", MB_YESNO) != IDYES)
        return;
    ScreenController::Instance().quitRequested = true;
}

static_assert(sizeof(TRACKMOUSEEVENT) == (sizeof(void*) == 4 ? 16 : 24), "the record comctl32 reads");

static void TrackMouseLeave()
{
    TRACKMOUSEEVENT tracking;
    tracking.cbSize = sizeof(tracking);
    tracking.dwFlags = TME_LEAVE;
    tracking.hwndTrack = WrapperWindow;
    tracking.dwHoverTime = HOVER_DEFAULT;
    // Through the common controls, which the shell thus loads at start-up: an arcade DLL may
    // create their windows without loading them itself.
    _TrackMouseEvent(&tracking);
}

LRESULT CALLBACK WrapperWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The arcade layer sees every message first; what it handles goes no further.
    if (MA_HandleWindowsMessage(window, message, wParam, lParam))
        return 1;
    ScreenController& controller = ScreenController::Instance();
    // Zero-extended halves: positions are never negative inside the client area.
    const int x = static_cast<int>(LOWORD(lParam));
    const int y = static_cast<int>(HIWORD(lParam));
    switch (message) {
    case WM_SIZE:
        EnforceWrapperSize();
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(WrapperWindow, &paint);
        controller.Present();
        EndPaint(WrapperWindow, &paint);
        controller.windowPainted = true;
        return 0;
    }
    case WM_CLOSE:
        RequestQuit();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE:
        TrackMouseLeave();
        controller.OnMouseMove(x, y);
        return 0;
    case WM_LBUTTONDOWN:
        controller.OnMouseDown(x, y);
        return 0;
    case WM_LBUTTONUP:
        controller.OnMouseUp(x, y);
        return 0;
    case WM_MOUSELEAVE:
        // Just outside the client area, so outside every button.
        controller.OnMouseMove(CLIENT_WIDTH, CLIENT_HEIGHT);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
