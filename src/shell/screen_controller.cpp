#include "shell/screen_controller.h"

#include "arcade/ma_api.h"
#include "host/game_host.h"
#include "shell/wrapper_window.h"

HDC DrawingDC = nullptr;

ScreenController& ScreenController::Instance()
{
    static ScreenController controller;
    return controller;
}

ScreenController::~ScreenController()
{
    buttons.Clear();
}

// Stand-in until the screens land: the wrapper hides while the game runs and comes back
// when the game has ended.

void ScreenController::Initialize()
{
    ShowWindow(WrapperWindow, SW_HIDE);
    GameHost::Instance().LaunchGame();
}

void ScreenController::Tick()
{
    if (IsWindowVisible(WrapperWindow) || GameHost::Instance().IsGameRunning())
        return;
    ShowWindow(WrapperWindow, SW_SHOW);
    SetForegroundWindow(WrapperWindow);
}

void ScreenController::Shutdown()
{
    GameHost::Instance().CloseGame();
    MA_ShutDown();
}
