#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "demo_game_control.h"
#include "host/game_host.h"
#include "pixels.h"
#include "shell/screen_controller.h"
#include "shell/wrapper_window.h"
#include "temp_folder.h"
#include "wait.h"

namespace {

RECT WindowRect(HWND window)
{
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(window, &rect);
    return rect;
}

std::string Text(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// The real demo game as the host's game, and a controller of its own with a plain test window
// as its wrapper.
struct GameFocus : testing::Test {
    TempFolder folder;
    GameHost& host = GameHost::Instance();
    TestWindow wrapper{720, 540};
    ScreenController controller;
    HWND game = nullptr;

    void SetUp() override
    {
        WrapperWindow = wrapper.window;
        SetDemoGameBehaviour("", folder.File("journal.txt"));
        host.LaunchGame();
        ASSERT_TRUE(WaitUntil([&] { return (game = host.FindGameWindow()) != nullptr; })) << "no game window";
    }

    void TearDown() override
    {
        if (host.processInfo.hProcess != nullptr) {
            TerminateProcess(host.processInfo.hProcess, 1);
            WaitForSingleObject(host.processInfo.hProcess, 5000);
        }
        host.ResetProcessRecord();
        WrapperWindow = nullptr;
    }

    void Place(int x, int y, int width, int height)
    {
        SetWindowPos(game, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(WaitUntil([&] {
            const RECT r = WindowRect(game);
            return r.left == x && r.top == y && r.right - r.left == width && r.bottom - r.top == height;
        }));
    }
};

}  // namespace

TEST_F(GameFocus, ActivateGameMovesTheGameBackToItsSavedPlaceOnlyWhenItStandsElsewhere)
{
    // As the wrapper leaves it when it comes in front: the place saved, the game minimised.
    Place(60, 40, 420, 300);
    const RECT placed = WindowRect(game);
    controller.savedGameRect = placed;
    controller.gameMinimized = true;
    SendMessageA(game, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(game) != FALSE; }));

    controller.ActivateGame();
    EXPECT_TRUE(controller.gameToFrontPending);
    EXPECT_FALSE(controller.gameMinimized);
    EXPECT_FALSE(IsWindowVisible(wrapper.window));
    EXPECT_FALSE(IsIconic(game));
    EXPECT_TRUE(EqualRect(&controller.savedGameRect, &placed)) << "kept when nothing had to move";
    RECT now = WindowRect(game);
    EXPECT_TRUE(EqualRect(&now, &placed)) << Text(now);

    // Moved and resized since: it goes back to the saved place and size, once.
    Place(300, 200, 380, 260);
    controller.ActivateGame();
    now = WindowRect(game);
    EXPECT_TRUE(EqualRect(&now, &placed)) << Text(now);
    const RECT none = {0, 0, 0, 0};
    EXPECT_TRUE(EqualRect(&controller.savedGameRect, &none)) << Text(controller.savedGameRect);

    // With nothing saved, the game stays wherever it stands.
    Place(250, 150, 420, 300);
    controller.ActivateGame();
    Sleep(200);
    now = WindowRect(game);
    EXPECT_EQ(now.left, 250);
    EXPECT_EQ(now.top, 150);
}
