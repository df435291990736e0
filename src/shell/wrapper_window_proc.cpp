// Stand-in window procedure until the full one lands: WM_CLOSE ends the shell.
#include "shell/screen_controller.h"
#include "shell/wrapper_window.h"

LRESULT CALLBACK WrapperWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        ScreenController::Instance().quitRequested = true;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
