#include <gtest/gtest.h>

#include "shell_driver.h"

TEST(Drag, AWrapperDraggedByItsTitleBarKeepsItsNewPlaceWhileTicksWatchItsSize)
{
    ShellRun run;
    ASSERT_TRUE(run.Start(""));
    ASSERT_TRUE(WaitUntil([&] { return run.GamePids().size() == 1 && run.GameWindow(run.GamePids()[0]); }, 5000));
    HWND game = run.GameWindow(run.GamePids()[0]);
    ASSERT_TRUE(WaitUntil([&] { return IsForegroundOf(run.GamePids()[0]); }, 3000));

    // Shown from outside while the game has a window: every tick then checks the wrapper's size.
    SetWindowPos(run.wrapper, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(game) && IsForegroundOf(run.shell.process.dwProcessId); }, 3000))
        << "the wrapper comes in front of the game";

    RECT before = {};
    GetWindowRect(run.wrapper, &before);
    const POINT grip = {before.left + 200, before.top + 10};
    DragOnScreen(grip, POINT{grip.x - 100, grip.y + 60});
    Sleep(500);
    RECT after = {};
    GetWindowRect(run.wrapper, &after);
    EXPECT_EQ(after.left, before.left - 100);
    EXPECT_EQ(after.top, before.top + 60);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);

    PostMessageA(run.wrapper, WM_CLOSE, 0, 0);
    HWND box = run.shell.WaitMessageBox("Confirm Exit");
    ASSERT_NE(box, nullptr);
    PressButton(box, IDYES);
    EXPECT_EQ(run.shell.WaitExit(10000), 0u);
}
