#include <gtest/gtest.h>

#include "shell_driver.h"

namespace {

const COLORREF kLabelGrey = RGB(195, 195, 195);

// The row of the one-pixel rule under the title: dark exactly from x 460 to 689.
int SeparatorRow(const PixelCanvas& shot)
{
    for (int y = 40; y < 100; ++y) {
        bool whole = true;
        for (int x = 460; x < 690 && whole; ++x)
            whole = GetRValue(shot.At(x, y)) < 80;
        if (whole)
            return y;
    }
    return -1;
}

int LabelGreyPixels(const PixelCanvas& shot, const RECT& area, const RECT& except)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const POINT at = {x, y};
            if (!PtInRect(&except, at) && shot.At(x, y) == kLabelGrey)
                ++count;
        }
    }
    return count;
}

}  // namespace

TEST(ClosingScreen, ComesBackCentredWithTheCountdownAndClosesItselfAfterTwentySeconds)
{
    ShellRun run;
    ASSERT_TRUE(run.Start("exitafter=1500"));
    ASSERT_TRUE(WaitUntil([&] { return run.GamePids().size() == 1; }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return IsForegroundOf(run.GamePids()[0]); }, 3000)) << "the game is brought in front";
    EXPECT_FALSE(IsWindowVisible(run.wrapper));

    // Moved away while hidden: showing it again must put it back in the centre.
    const RECT centre = CentredWrapperRect();
    SetWindowPos(run.wrapper, nullptr, 20, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(run.WaitVisible(true, 10000)) << "the wrapper comes back when the game has ended";
    const DWORD shown = GetTickCount();
    RECT placed = {};
    GetWindowRect(run.wrapper, &placed);
    EXPECT_TRUE(WaitUntil([&] { return GetWindowRect(run.wrapper, &placed), EqualRect(&placed, &centre); }, 1000))
        << placed.left << "," << placed.top;

    // Well inside the first half second, while the countdown still rounds to 20.
    Sleep(150);
    PixelCanvas shot(720, 540);
    CaptureClient(run.wrapper, shot);
    EXPECT_LE(TextMismatch(shot, 460, 30, "Sample Game", 14), 2) << "the title at (460, 30)";
    const int rule = SeparatorRow(shot);
    ASSERT_GT(rule, 0) << "a rule under the title, 230 pixels wide";
    EXPECT_GE(GetRValue(shot.At(459, rule)), 80);
    EXPECT_GE(GetRValue(shot.At(690, rule)), 80);
    int bestRow = 0;
    const int best = BodyLineMismatch(shot, rule, 300, "20 Seconds.", &bestRow);
    EXPECT_LE(best, 2) << "the body's last line shows 20 seconds";
    EXPECT_GE(TextMismatch(shot, 460, bestRow, "19 Seconds.", 10), best + 10);
    EXPECT_GE(TextMismatch(shot, 460, bestRow, "21 Seconds.", 10), best + 10);
    EXPECT_EQ(shot.At(466, 490), kWhite) << "Play Game";
    EXPECT_EQ(shot.At(593, 490), kWhite) << "Other Games";
    const RECT label = {450, 510, 500, 520};
    EXPECT_GT(LabelGreyPixels(shot, label, RECT{0, 0, 0, 0}), 0) << "Build 131 at (450, 510)";
    EXPECT_EQ(LabelGreyPixels(shot, RECT{440, 505, 540, 535}, label), 0);

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

    bool asked = false;
    EXPECT_EQ(run.WaitExitWithoutQuestion(40000, &asked), 0u);
    const DWORD elapsed = GetTickCount() - shown;
    EXPECT_FALSE(asked) << "no game window: no question";
    EXPECT_GE(elapsed, 18000u);
    EXPECT_LE(elapsed, 30000u);
    const std::vector<std::string> calls = run.ArcadeCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "madll_ShutDown");
}
