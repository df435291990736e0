#include <gtest/gtest.h>

#include <cstdio>

#include "draw/gdi_selection.h"
#include "shell_driver.h"

TEST(OtherGames, SessionOwnsTheWindowPresentsOnlyItsRectanglesAndHoldsTheCountdown)
{
    const COLORREF scribble = RGB(255, 0, 255);
    const char wholeFrame[] = "madll_DrawNextFrameIntoBuffer stride=2160 bpp=3 repaint=0";
    ShellRun run;
    ASSERT_TRUE(run.Start("exitafter=300"));
    ASSERT_TRUE(run.WaitVisible(true));
    const DWORD shown = GetTickCount();

    SleepUntil(shown + 3000);
    const size_t beforeClick = run.ArcadeCalls().size();
    ASSERT_TRUE(ClickButtonWhenHovered(run.wrapper, kOtherGamesLeft));
    ASSERT_TRUE(run.WaitCall("madll_EnterMenuSession 1 720 540 -> 0", beforeClick));
    const DWORD entered = GetTickCount();
    ASSERT_TRUE(run.WaitCall("madll_GetUpdateRect 0 -> 0 0 720 540", beforeClick)) << "a first whole frame";
    PixelCanvas shot(720, 540);
    EXPECT_TRUE(WaitUntil([&] { return shot.CaptureClient(run.wrapper), shot.At(50, 200) == RGB(40, 96, 168); }, 2000))
        << "the catalogue is on screen";

    // Whatever lies outside the rectangles the DLL reports must stay as the screen had it.
    const size_t beforeScribble = run.ArcadeCalls().size();
    PixelCanvas magenta(720, 540, scribble);
    BitBlt(WindowDC(run.wrapper).dc, 0, 0, 720, 540, magenta.dc, 0, 0, SRCCOPY);
    // Reading the screen makes sure the scribble has reached it before the frames go on.
    shot.CaptureClient(run.wrapper);
    MoveMouseTo(run.wrapper, 140, 170);
    EXPECT_TRUE(WaitUntil([&] { return shot.CaptureClient(run.wrapper), shot.At(47, 150) == RGB(255, 214, 0); }, 3000))
        << "the mouse reaches the DLL, whose hovered tile is presented";
    EXPECT_EQ(run.FindCall(wholeFrame, beforeScribble), -1);
    const RECT tile = {40, 100, 240, 240};
    EXPECT_EQ(shot.Count(scribble, &tile), 0) << "the hovered tile was presented whole";
    const std::vector<std::string> calls = run.ArcadeCalls();
    long reportedArea = 0;
    for (size_t i = beforeScribble; i < calls.size(); ++i) {
        RECT r;
        int index = 0;
        if (std::sscanf(calls[i].c_str(), "madll_GetUpdateRect %d -> %ld %ld %ld %ld", &index, &r.left, &r.top,
                        &r.right, &r.bottom) == 5) {
            reportedArea += (r.right - r.left) * (r.bottom - r.top);
            shot.Fill(scribble, &r);
        }
    }
    EXPECT_GT(reportedArea, 0);
    EXPECT_LT(reportedArea, 100000);
    EXPECT_EQ(shot.Count(scribble), 720 * 540) << "changed only inside the reported rectangles";

    // A paint of the window asks the DLL for a whole frame, which is presented (the calls in their order:
    // FramePresentation).
    InvalidateRect(run.wrapper, nullptr, FALSE);
    EXPECT_TRUE(WaitUntil([&] { return shot.CaptureClient(run.wrapper), shot.Count(scribble) == 0; }, 2000));

    // Eight seconds in the session, then Escape: the countdown goes on from where it stood.
    SleepUntil(entered + 8000);
    const size_t beforeEscape = run.ArcadeCalls().size();
    keybd_event(VK_ESCAPE, 0, 0, 0);
    keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
    ASSERT_TRUE(run.WaitCall("madll_IsTheMenuSessionComplete -> 1", beforeEscape));
    const DWORD held = GetTickCount() - entered;
    int seconds = -1;
    ASSERT_TRUE(WaitUntil([&] { return (seconds = ShownCountdown(run.wrapper)) >= 0; }, 1000));
    EXPECT_NEAR(seconds, 20 - static_cast<int>((entered - shown + 500) / 1000), 1);
    EXPECT_NEAR(run.EndedAfter(shown, 40000), 20000 + held + 3500, 4500);
}

TEST(OtherGames, TheShellKeepsToWhatTheArcadeLayerAnswers)
{
    ShellRun run;
    ASSERT_TRUE(run.Start("exitafter=300",
                          "enter_result=7\r\nerror_text=The catalogue is closed today.\r\nconsume=0x0010\r\n"));
    ASSERT_TRUE(run.WaitVisible(true));
    ASSERT_TRUE(ClickButtonWhenHovered(run.wrapper, kOtherGamesLeft));
    HWND box = run.shell.WaitMessageBox("Error");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "The catalogue is closed today.");
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    PressButton(box, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    // The next ticks must not take the refused session for a running one: the buttons still work.
    Sleep(500);
    EXPECT_GE(run.FindCall("madll_EnterMenuSession 1 720 540 -> 7"), 0);
    EXPECT_EQ(run.FindCall("madll_DrawNextFrameIntoBuffer"), -1) << "no session started";
    ASSERT_TRUE(ClickButtonWhenHovered(run.wrapper, kPlayGameLeft));
    ASSERT_TRUE(WaitUntil([&] { return run.GamePids().size() == 2; }, 3000)) << "Play Game starts the game again";

    // The DLL consumes WM_CLOSE: it gets result 1, and the shell neither asks nor ends.
    DWORD_PTR result = 0;
    ASSERT_NE(SendMessageTimeoutA(run.wrapper, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, &result), 0);
    EXPECT_EQ(result, 1u);
    EXPECT_EQ(run.shell.WaitExit(1000), STILL_ACTIVE);
    EXPECT_EQ(run.shell.FindWindowOf("#32770"), nullptr);
    EXPECT_GE(run.FindCall("madll_HandleWindowsMessage msg=0x0010 "), 0);
}
