#include "shell/screen_controller.h"

#include "arcade/ma_api.h"
#include "host/game_host.h"
#include "shell/wrapper_window.h"

ScreenController& ScreenController::Instance()
{
    static ScreenController controller;
    return controller;
}

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
