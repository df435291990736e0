#include <gtest/gtest.h>

#include "shell_driver.h"

TEST(PlayGame, RelaunchesTheGameWhoseWindowStopsTheCountdownUntilItEndsAgain)
{
    ShellRun run;
    ASSERT_TRUE(run.Start(""));
    ASSERT_TRUE(WaitUntil([&] { return run.GamePids().size() == 1 && run.GameWindow(run.GamePids()[0]); }, 5000));
    const DWORD first = run.GamePids()[0];
    PostMessageA(run.GameWindow(first), WM_CLOSE, 0, 0);
    ASSERT_TRUE(run.WaitVisible(true));
    const DWORD shown = GetTickCount();

    // About three seconds before the countdown would close the shell.
    SleepUntil(shown + 17000);
    ASSERT_TRUE(ClickButtonWhenHovered(run.wrapper, kPlayGameLeft));
    EXPECT_TRUE(run.WaitVisible(false, 2000)) << "Play Game hides the wrapper";
    ASSERT_TRUE(WaitUntil([&] { return run.GamePids().size() == 2; }, 3000)) << "and starts the game again";
    const DWORD second = run.GamePids()[1];
    EXPECT_NE(second, first);
    EXPECT_TRUE(WaitUntil([&] { return run.GameWindow(second) != nullptr; }, 3000)) << "the new game shows a window";
    EXPECT_TRUE(WaitUntil([&] { return IsForegroundOf(second); }, 3000)) << "and is in front";

    // A countdown gone on would have asked at 20 seconds, as the game has a window; nobody answers.
    SleepUntil(shown + 25000);
    EXPECT_EQ(run.shell.WaitExit(0), STILL_ACTIVE);
    EXPECT_EQ(run.shell.FindWindowOf("#32770"), nullptr) << "the game's window stopped the countdown";
    EXPECT_FALSE(IsWindowVisible(run.wrapper));

    // The next end of the game starts a new countdown from 20.
    PostMessageA(run.GameWindow(second), WM_CLOSE, 0, 0);
    ASSERT_TRUE(run.WaitVisible(true));
    // Until the next tick the window shows the frame it was hidden with.
    EXPECT_TRUE(WaitUntil([&] { return ShownCountdown(run.wrapper) == 20; }, 450));
}
