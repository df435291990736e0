#include <gtest/gtest.h>

#include "shell_driver.h"

namespace {

const int kPlayGameX = 515;
const int kButtonY = 488;

}  // namespace

TEST(PlayGame, RelaunchesTheGameAndTheShellStaysOnceItsWindowIsFound)
{
    ShellRun run;
    ASSERT_TRUE(run.Start(""));
    ASSERT_TRUE(WaitUntil([&] { return run.GamePids().size() == 1 && run.GameWindow(run.GamePids()[0]); }, 5000));
    const DWORD first = run.GamePids()[0];
    PostMessageA(run.GameWindow(first), WM_CLOSE, 0, 0);
    ASSERT_TRUE(run.WaitVisible(true, 10000));
    const DWORD shown = GetTickCount();

    // About three seconds before the countdown would close the shell.
    SleepUntil(shown + 17000);
    ClickAt(run.wrapper, kPlayGameX, kButtonY);
    EXPECT_TRUE(run.WaitVisible(false, 2000)) << "Play Game hides the wrapper";
    ASSERT_TRUE(WaitUntil([&] { return run.GamePids().size() == 2; }, 3000)) << "and starts the game again";
    const DWORD second = run.GamePids()[1];
    EXPECT_NE(second, first);
    EXPECT_TRUE(WaitUntil([&] { return run.GameWindow(second) && IsForegroundOf(second); }, 3000));

    bool asked = false;
    EXPECT_EQ(run.WaitExitWithoutQuestion(shown + 25000 - GetTickCount(), &asked), STILL_ACTIVE)
        << "the game's window stopped the countdown";
    EXPECT_FALSE(asked);
    EXPECT_FALSE(IsWindowVisible(run.wrapper));

    // The next end of the game starts a new countdown from 20.
    PostMessageA(run.GameWindow(second), WM_CLOSE, 0, 0);
    ASSERT_TRUE(run.WaitVisible(true, 10000));
    Sleep(150);
    EXPECT_TRUE(ShowsTwentySeconds(run.wrapper));
    PostMessageA(run.wrapper, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.WaitExitWithoutQuestion(10000, &asked), 0u);
    EXPECT_FALSE(asked);
}

TEST(PlayGame, AWindowlessGameLeavesTheCountdownRunningAndTheShellEndsIt)
{
    ShellRun run;
    ASSERT_TRUE(run.Start("windows=0"));
    ASSERT_TRUE(WaitUntil([&] { return run.GamePids().size() == 1; }, 5000));
    HANDLE first = OpenProcess(PROCESS_TERMINATE, FALSE, run.GamePids()[0]);
    ASSERT_NE(first, nullptr);
    TerminateProcess(first, 3);
    CloseHandle(first);
    ASSERT_TRUE(run.WaitVisible(true, 10000));
    const DWORD shown = GetTickCount();

    SleepUntil(shown + 10000);
    ClickAt(run.wrapper, kPlayGameX, kButtonY);
    EXPECT_TRUE(run.WaitVisible(false, 2000));
    ASSERT_TRUE(WaitUntil([&] { return run.GamePids().size() == 2; }, 3000));
    HANDLE second = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, run.GamePids()[1]);
    ASSERT_NE(second, nullptr);

    bool asked = false;
    EXPECT_EQ(run.WaitExitWithoutQuestion(45000, &asked), 0u);
    const DWORD elapsed = GetTickCount() - shown;
    EXPECT_FALSE(asked) << "no game window: no question";
    // The first countdown's end plus the five seconds of close steps nobody answers; a countdown
    // restarted by the click would end ten seconds later.
    EXPECT_GE(elapsed, 22000u);
    EXPECT_LE(elapsed, 32000u);
    DWORD code = 0;
    EXPECT_EQ(WaitForSingleObject(second, 5000), WAIT_OBJECT_0);
    GetExitCodeProcess(second, &code);
    EXPECT_EQ(code, 0xFFFFFFFFu) << "the windowless game was terminated";
    CloseHandle(second);
}
