#include <windows.h>

#include <new>

#include "arcade/ma_api.h"
#include "draw/button.h"
#include "host/game_host.h"
#include "shell/closing_screen.h"
#include "shell/countdown.h"
#include "shell/screen_controller.h"
#include "shell/wrapper_window.h"

void ScreenController::StateGameRunning(uint32_t message, HDC)
{
    // Asked on every due tick, on this thread: no wait on the game may start threads that the
    // arcade DLL would see attach.
    if (message != MSG_TICK || GameHost::Instance().IsGameRunning())
        return;
    ShowWrapper();
    SetState(&ScreenController::StateClosing);
}

void ScreenController::StateClosing(uint32_t message, HDC dc)
{
    switch (message) {
    case MSG_ENTER:
        closeCountdown = CLOSE_COUNTDOWN_SECONDS;
        while (buttons.count > 0)
            DeleteAt(buttons, buttons.count - 1);
        AddPlayGameButton();
        AddOtherGamesButton();
        break;
    case MSG_TICK:
        if (GameHost::Instance().FindGameWindow() != nullptr) {
            SetState(&ScreenController::StateGameRunning);
            break;
        }
        // Once run out, every further tick posts again: the question may have been declined.
        if (StepCloseCountdown(closeCountdown))
            PostMessageA(WrapperWindow, WM_CLOSE, 0, 0);
        break;
    case MSG_DRAW:
        DrawClosingText(dc);
        break;
    default:
        break;
    }
}

// Without memory for it the button is left out: the screen works on with what it has.
static void AddButton(GrowArray& buttons, int x, int y, const char* label, void (ScreenController::*method)())
{
    ActionBase* action = new (std::nothrow) Action<ScreenController>(&ScreenController::Instance(), method);
    if (action == nullptr)
        return;
    Button* button = new (std::nothrow) Button(x, y, label, action);
    if (button == nullptr) {
        delete action;
        return;
    }
    if (buttons.Append(button) == GrowArray::kNoIndex) {
        button->Destroy();
        delete button;
    }
}

void ScreenController::AddPlayGameButton()
{
    AddButton(buttons, PLAY_GAME_BUTTON_LEFT, CLOSING_BUTTONS_TOP, "Play Game", &ScreenController::PlayGame);
}

void ScreenController::AddOtherGamesButton()
{
    AddButton(buttons, OTHER_GAMES_BUTTON_LEFT, CLOSING_BUTTONS_TOP, "Other Games", &ScreenController::OpenOtherGames);
}

void ScreenController::PlayGame()
{
    ActivateGame();
    GameHost& host = GameHost::Instance();
    if (!host.IsGameRunning())
        host.LaunchGame();
}

void ScreenController::OpenOtherGames()
{
    if (MA_EnterMenuSession(MADLL_MENU_OTHER_GAMES, static_cast<uint32_t>(clientWidth), static_cast<uint32_t>(clientHeight)) != 0) {
        MessageBoxA(nullptr, MA_GetLastErrorInformation(), "Error", MB_OK);
        menuSessionActive = false;
        return;
    }
    menuSessionActive = true;
    HandFrameToArcade(true);
}
