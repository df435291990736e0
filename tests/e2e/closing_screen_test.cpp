#include <gtest/gtest.h>

#include "shell_driver.h"

TEST(ClosingScreen, ComesBackCentredShowsItsPartsAndPlayGameLeavesItsCountdownRunning)
{
    ShellRun run;
    ASSERT_TRUE(run.Start("windows=0"));
    ASSERT_TRUE(WaitUntil([&] { return run.GamePids().size() == 1; }, 5000));
    // Moved away while hidden: showing it again must put it back in the centre.
    SetWindowPos(run.wrapper, nullptr, 20, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    HANDLE first = OpenProcess(PROCESS_TERMINATE, FALSE, run.GamePids()[0]);
    ASSERT_NE(first, nullptr);
    TerminateProcess(first, 3);
    CloseHandle(first);
    ASSERT_TRUE(run.WaitVisible(true, 10000)) << "the wrapper comes back when the game has ended";
    const DWORD shown = GetTickCount();
    const RECT centre = CentredWrapperRect();
    RECT placed = {};
    EXPECT_TRUE(WaitUntil([&] { return GetWindowRect(run.wrapper, &placed), EqualRect(&placed, &centre); }, 1000))
        << placed.left << "," << placed.top;

    // Well inside the first half second, while the countdown still rounds to 20.
    Sleep(150);
    EXPECT_EQ(ShownCountdown(run.wrapper), 20) << "the body's last line";
    PixelCanvas shot(720, 540);
    CaptureClient(run.wrapper, shot);
    EXPECT_LE(TextMismatch(shot, 460, 30, 30, "Sample Game", 14), 2) << "the title at (460, 30)";
    int rule = 0;
    for (int y = 40; y < 100 && rule == 0; ++y) {
        bool whole = GetRValue(shot.At(459, y)) >= 80 && GetRValue(shot.At(690, y)) >= 80;
        for (int x = 460; x < 690 && whole; ++x)
            whole = GetRValue(shot.At(x, y)) < 80;
        rule = whole ? y : 0;
    }
    EXPECT_GT(rule, 0) << "a rule under the title, dark exactly from x 460 to 689";
    EXPECT_EQ(shot.At(466, 490), kWhite) << "Play Game";
    EXPECT_EQ(shot.At(593, 490), kWhite) << "Other Games";
    int label = 0;
    int stray = 0;
    for (int y = 505; y < 535; ++y) {
        for (int x = 440; x < 540; ++x) {
            const bool inLabel = x >= 450 && x < 500 && y >= 510 && y < 520;
            (inLabel ? label : stray) += shot.At(x, y) == RGB(195, 195, 195);
        }
    }
    EXPECT_GT(label, 0) << "Build 131 at (450, 510)";
    EXPECT_EQ(stray, 0);

    // Hover follows the real mouse, and leaving the window clears it.
    MoveMouseTo(run.wrapper, 500, 488);
    EXPECT_TRUE(WaitUntil([&] { return CaptureClient(run.wrapper, shot), shot.At(466, 490) == kHoverGrey; }, 2000));
    ParkMouse();
    EXPECT_TRUE(WaitUntil([&] { return CaptureClient(run.wrapper, shot), shot.At(466, 490) == kWhite; }, 2000));

    // A window moved at its own size stays where it was put; a wrong size sends it back to the centre.
    SetWindowPos(run.wrapper, nullptr, centre.left - 120, centre.top + 50, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(300);
    GetWindowRect(run.wrapper, &placed);
    EXPECT_EQ(placed.left, centre.left - 120);
    EXPECT_EQ(placed.top, centre.top + 50);
    SetWindowPos(run.wrapper, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil([&] { return GetWindowRect(run.wrapper, &placed), EqualRect(&placed, &centre); }, 2000))
        << placed.left << "," << placed.top << "," << placed.right << "," << placed.bottom;

    SleepUntil(shown + 10000);
    ASSERT_TRUE(ClickButtonWhenHovered(run.wrapper, kPlayGameLeft));
    EXPECT_TRUE(run.WaitVisible(false, 2000)) << "Play Game hides the wrapper";
    ASSERT_TRUE(WaitUntil([&] { return run.GamePids().size() == 2; }, 3000)) << "and starts the game again";
    HANDLE second = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, run.GamePids()[1]);
    ASSERT_NE(second, nullptr);
    // A game without a window leaves the countdown running: it ends 20 seconds after the first game,
    // plus the five seconds of close steps the game does not answer, with no question. A countdown
    // restarted by the click would end ten seconds later.
    EXPECT_NEAR(run.EndedAfter(shown, 45000), 27000, 5000);
    DWORD code = 0;
    EXPECT_EQ(WaitForSingleObject(second, 5000), WAIT_OBJECT_0);
    GetExitCodeProcess(second, &code);
    EXPECT_EQ(code, 0xFFFFFFFFu) << "the windowless game was terminated";
    CloseHandle(second);
    const std::vector<std::string> calls = run.ArcadeCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "madll_ShutDown");
}
