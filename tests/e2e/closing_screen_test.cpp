#include <gtest/gtest.h>

#include "shell_driver.h"

TEST(ClosingScreen, ComesBackCentredShowsItsPartsAndPlayGameLeavesItsCountdownRunning)
{
    ShellRun run;
    ASSERT_TRUE(run.Start("windows=0"));
    ASSERT_TRUE(WaitUntil([&] { return run.GamePids().size() == 1; }));
    // Moved away while hidden: showing it again must put it back in the centre.
    SetWindowPos(run.wrapper, nullptr, 20, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    HANDLE first = OpenProcess(PROCESS_TERMINATE, FALSE, run.GamePids()[0]);
    ASSERT_NE(first, nullptr) << GetLastError();
    ASSERT_TRUE(TerminateProcess(first, 3)) << GetLastError();
    CloseHandle(first);
    ASSERT_TRUE(run.WaitVisible(true)) << "the wrapper comes back when the game has ended";
    const DWORD shown = GetTickCount();
    const RECT centre = CentredWrapperRect();
    RECT placed = {};
    EXPECT_TRUE(WaitUntil([&] { return GetWindowRect(run.wrapper, &placed), EqualRect(&placed, &centre); }, 1000))
        << placed.left << "," << placed.top;

    // The first frame, well inside the first half second, while the countdown still rounds to 20;
    // the frame's pixels are the old way's (ClosingPixels).
    EXPECT_TRUE(WaitUntil([&] { return ShownCountdown(run.wrapper) == 20; }, 450));
    PixelCanvas shot(720, 540);

    // Hover follows the real mouse, and leaving the window clears it.
    MoveMouseTo(run.wrapper, 500, 488);
    EXPECT_TRUE(WaitUntil([&] { return shot.CaptureClient(run.wrapper), shot.At(466, 490) == kHoverGrey; }, 2000));
    ParkMouse();
    EXPECT_TRUE(WaitUntil([&] { return shot.CaptureClient(run.wrapper), shot.At(466, 490) == kWhite; }, 2000));

    // A wrong size sends the window back to the centre at its own size.
    SetWindowPos(run.wrapper, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil([&] { return GetWindowRect(run.wrapper, &placed), EqualRect(&placed, &centre); }, 2000))
        << placed.left << "," << placed.top << "," << placed.right << "," << placed.bottom;

    // The countdown keeps to 20 ms ticks of wall time, whatever the passes of the loop take.
    SleepUntil(shown + 10000);
    EXPECT_NEAR(ShownCountdown(run.wrapper), 10, 1);
    ASSERT_TRUE(ClickButtonWhenHovered(run.wrapper, kPlayGameLeft));
    EXPECT_TRUE(run.WaitVisible(false, 2000)) << "Play Game hides the wrapper";
    ASSERT_TRUE(WaitUntil([&] { return run.GamePids().size() == 2; }, 3000)) << "and starts the game again";
    ChildRun second;
    second.process.hProcess = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, run.GamePids()[1]);
    ASSERT_NE(second.process.hProcess, nullptr);
    // A game without a window leaves the countdown running: it ends 20 s after the first game, plus the
    // 5 s of unanswered close steps, with no question; one restarted by the click would end 10 s later.
    EXPECT_NEAR(run.EndedAfter(shown, 45000), 27000, 5000);
    EXPECT_EQ(second.WaitExit(5000), 0xFFFFFFFFu) << "the windowless game was terminated";
}

TEST(PlayGame, TheGameRunsInFrontOfAHiddenCentredWrapperAndIsRelaunchedWithAWindowThatStopsTheCountdownUntilItEnds)
{
    ShellRun run;
    run.settings = "Application ID=1234\r\nApplication Name=Sample Game\r\nDeveloper Channel ID 42\r\n";
    ASSERT_TRUE(run.Start(""));
    EXPECT_EQ(WindowText(run.wrapper), "Sample Game");
    // A 720 x 540 client in the wrapper's style, centred.
    RECT outer = {};
    GetWindowRect(run.wrapper, &outer);
    const RECT centre = CentredWrapperRect();
    EXPECT_TRUE(EqualRect(&outer, &centre)) << outer.left << "," << outer.top;
    ASSERT_TRUE(WaitUntil([&] { return run.GamePids().size() == 1 && run.GameWindow(run.GamePids()[0]); }, 5000));
    const DWORD first = run.GamePids()[0];
    const std::string start = ReadJournal(run.gameJournal)[0].rest;
    const std::string commandLine = start.substr(start.find("cmdline=") + 8);
    EXPECT_TRUE(commandLine == "Puzzle.MWG" || commandLine == "\"Puzzle.MWG\"") << commandLine;

    // No settings file here: reading it would end in a fatal error instead.
    GameFolder second("Other");
    ChildRun another;
    ASSERT_TRUE(another.Start(second.shellPath));
    HWND box = another.WaitMessageBox("Game Already Running");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box),
              "You currently have another game running.\n\nIf you wish to run this one, please close the other one "
              "first.");
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    EXPECT_EQ(another.FindWindowOf(kWrapperClass), nullptr);
    PressButton(box, IDOK);
    EXPECT_EQ(another.WaitExit(10000), 0xFFFFFFFFu);

    PostMessageA(run.GameWindow(first), WM_CLOSE, 0, 0);
    ASSERT_TRUE(run.WaitVisible(true)) << "the wrapper comes back when the game has ended";
    const DWORD shown = GetTickCount();
    // About three seconds before the countdown would close the shell.
    SleepUntil(shown + 17000);
    ASSERT_TRUE(ClickButtonWhenHovered(run.wrapper, kPlayGameLeft));
    ASSERT_TRUE(WaitUntil([&] { return run.GamePids().size() == 2; }, 3000)) << "Play Game starts the game again";
    const DWORD again = run.GamePids()[1];
    EXPECT_TRUE(WaitUntil([&] { return run.GameWindow(again) != nullptr; }, 3000)) << "the new game shows a window";
    EXPECT_TRUE(WaitUntil([&] { return IsForegroundOf(again); }, 3000)) << "and is in front";

    // A countdown gone on would have asked at 20 seconds, as the game has a window; nobody answers.
    SleepUntil(shown + 25000);
    EXPECT_EQ(run.shell.WaitExit(0), STILL_ACTIVE);
    EXPECT_EQ(run.shell.FindWindowOf("#32770"), nullptr) << "the game's window stopped the countdown";
    EXPECT_FALSE(IsWindowVisible(run.wrapper));

    // The next end of the game starts a new countdown from 20.
    PostMessageA(run.GameWindow(again), WM_CLOSE, 0, 0);
    ASSERT_TRUE(run.WaitVisible(true));
    // Until the next tick the window shows the frame it was hidden with.
    EXPECT_TRUE(WaitUntil([&] { return ShownCountdown(run.wrapper) == 20; }, 450));
    // The exit code is the wParam of the last message the loop removed.
    PostMessageA(run.wrapper, WM_CLOSE, 7, 0);
    EXPECT_EQ(run.shell.WaitExit(10000), 7u);
    // The settings' identity reached the arcade layer, which was shut down at the end.
    EXPECT_GE(run.FindCall("madll_Initialize 1234 \"Sample Game\" 42 0 6 -> 0"), 0);
    const std::vector<std::string> calls = run.ArcadeCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "madll_ShutDown");
}
