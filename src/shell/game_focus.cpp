#include <windows.h>

#include "host/game_host.h"
#include "shell/screen_controller.h"
#include "shell/wrapper_placement.h"
#include "shell/wrapper_window.h"

void ScreenController::ShowWrapper()
{
    gameToFrontPending = false;
    HWND game = GameHost::Instance().FindGameWindow();
    if (game != nullptr) {
        // The place to put the game back is taken before the first minimise only.
        if (!gameMinimized)
            GetWindowRect(game, &savedGameRect);
        gameMinimized = true;
        PostMessageA(game, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    }
    const bool wasVisible = IsWindowVisible(WrapperWindow) != FALSE;
    ShowWindow(WrapperWindow, SW_SHOWNORMAL);
    SetForegroundWindow(WrapperWindow);
    BringWindowToTop(WrapperWindow);
    // A wrapper that already stood somewhere keeps its place.
    if (!wasVisible)
        CenterWrapper();
}

void ScreenController::ActivateGame()
{
    gameToFrontPending = true;
    ShowWindow(WrapperWindow, SW_HIDE);
    HWND game = GameHost::Instance().FindGameWindow();
    if (game == nullptr)
        return;
    gameMinimized = false;
    SetForegroundWindow(game);
    BringWindowToTop(game);
    ShowWindow(game, SW_SHOWNORMAL);
    if (savedGameRect.left == 0 && savedGameRect.right == 0)
        return;
    RECT current;
    if (!GetWindowRect(game, &current))
        return;
    if (EqualRect(&current, &savedGameRect))
        return;
    MoveWindow(game, savedGameRect.left, savedGameRect.top, savedGameRect.right - savedGameRect.left,
               savedGameRect.bottom - savedGameRect.top, TRUE);
    SetRectEmpty(&savedGameRect);
}
