#include <gtest/gtest.h>

#include <cstdio>

#include "shell_driver.h"

namespace {

const COLORREF kScribble = RGB(255, 0, 255);
const RECT kWhole = {0, 0, 720, 540};

bool WaitCall(const ShellRun& run, size_t from, const char* prefix)
{
    return WaitUntil([&] { return run.FindCall(prefix, from) >= 0; }, 3000);
}

void Paint(HDC dc, const RECT& area, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
    GdiFlush();
}

int CountColour(const PixelCanvas& shot, const RECT& area, COLORREF colour)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x)
            count += shot.At(x, y) == colour;
    }
    return count;
}

}  // namespace

TEST(OtherGames, SessionOwnsTheWindowPresentsOnlyItsRectanglesAndHoldsTheCountdown)
{
    ShellRun run;
    ASSERT_TRUE(run.Start("exitafter=300"));
    ASSERT_TRUE(run.WaitVisible(true, 10000));
    const DWORD shown = GetTickCount();

    SleepUntil(shown + 3000);
    const size_t beforeClick = run.ArcadeCalls().size();
    ASSERT_TRUE(ClickButtonWhenHovered(run.wrapper, kOtherGamesLeft));
    ASSERT_TRUE(WaitCall(run, beforeClick, "madll_EnterMenuSession 1 720 540 -> 0"));
    const DWORD entered = GetTickCount();
    ASSERT_TRUE(WaitCall(run, beforeClick, "madll_GetUpdateRect 0 -> 0 0 720 540")) << "a first whole frame";
    PixelCanvas shot(720, 540);
    EXPECT_TRUE(WaitUntil([&] { return CaptureClient(run.wrapper, shot), shot.At(50, 200) == RGB(40, 96, 168); }, 2000))
        << "the catalogue is on screen";

    // Whatever lies outside the rectangles the DLL reports must stay as the screen had it.
    const size_t beforeScribble = run.ArcadeCalls().size();
    HDC dc = GetDC(run.wrapper);
    Paint(dc, kWhole, kScribble);
    ReleaseDC(run.wrapper, dc);
    // Reading the screen makes sure the scribble has reached it before the frames go on.
    CaptureClient(run.wrapper, shot);
    MoveMouseTo(run.wrapper, 140, 170);
    Sleep(1500);
    CaptureClient(run.wrapper, shot);
    EXPECT_EQ(run.FindCall("madll_DrawNextFrameIntoBuffer stride=2160 bpp=3 repaint=0", beforeScribble), -1);
    EXPECT_EQ(CountColour(shot, RECT{40, 100, 240, 240}, kScribble), 0) << "the hovered tile was presented whole";
    EXPECT_EQ(shot.At(47, 150), RGB(255, 214, 0)) << "the mouse reaches the DLL";
    const std::vector<std::string> calls = run.ArcadeCalls();
    long reportedArea = 0;
    for (size_t i = beforeScribble; i < calls.size(); ++i) {
        RECT r;
        int index = 0;
        if (std::sscanf(calls[i].c_str(), "madll_GetUpdateRect %d -> %ld %ld %ld %ld", &index, &r.left, &r.top,
                        &r.right, &r.bottom) == 5) {
            reportedArea += (r.right - r.left) * (r.bottom - r.top);
            Paint(shot.dc, r, kScribble);
        }
    }
    EXPECT_GT(reportedArea, 0);
    EXPECT_LT(reportedArea, 100000);
    EXPECT_EQ(CountColour(shot, kWhole, kScribble), 720 * 540) << "changed only inside the reported rectangles";

    // A paint of the window asks the DLL for a whole frame.
    const size_t beforePaint = run.ArcadeCalls().size();
    InvalidateRect(run.wrapper, nullptr, FALSE);
    ASSERT_TRUE(WaitCall(run, beforePaint, "madll_DrawNextFrameIntoBuffer stride=2160 bpp=3 repaint=0"));
    const int paint = run.FindCall("madll_HandleWindowsMessage msg=0x000F ", beforePaint);
    ASSERT_GE(paint, 0);
    const int frame = run.FindCall("madll_DrawNextFrameIntoBuffer", paint);
    ASSERT_GE(frame, 0);
    EXPECT_EQ(frame, run.FindCall("madll_DrawNextFrameIntoBuffer stride=2160 bpp=3 repaint=0", paint));
    EXPECT_EQ(run.FindCall("madll_GetUpdateRect", frame), run.FindCall("madll_GetUpdateRect 0 -> 0 0 720 540", frame));
    Sleep(300);
    CaptureClient(run.wrapper, shot);
    EXPECT_EQ(CountColour(shot, kWhole, kScribble), 0);

    // Eight seconds in the session, then Escape: the countdown goes on from where it stood.
    SleepUntil(entered + 8000);
    const size_t beforeEscape = run.ArcadeCalls().size();
    keybd_event(VK_ESCAPE, 0, 0, 0);
    keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
    ASSERT_TRUE(WaitCall(run, beforeEscape, "madll_IsTheMenuSessionComplete -> 1"));
    const DWORD held = GetTickCount() - entered;
    Sleep(200);
    EXPECT_NEAR(ShownCountdown(run.wrapper), 20 - static_cast<int>((entered - shown + 500) / 1000), 1);
    EXPECT_NEAR(run.EndedAfter(shown, 40000), 20000 + held + 3500, 4500);
}

TEST(OtherGames, TheShellKeepsToWhatTheArcadeLayerAnswers)
{
    ShellRun run;
    ASSERT_TRUE(run.Start("exitafter=300",
                          "enter_result=7\r\nerror_text=The catalogue is closed today.\r\nconsume=0x0010\r\n"));
    ASSERT_TRUE(run.WaitVisible(true, 10000));
    ASSERT_TRUE(ClickButtonWhenHovered(run.wrapper, kOtherGamesLeft));
    HWND box = run.shell.WaitMessageBox("Error");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "The catalogue is closed today.");
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    PressButton(box, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
    // The next ticks must not take the refused session for a running one.
    Sleep(500);
    EXPECT_GE(run.FindCall("madll_EnterMenuSession 1 720 540 -> 7"), 0);
    EXPECT_EQ(run.FindCall("madll_DrawNextFrameIntoBuffer"), -1) << "no session started";

    ASSERT_TRUE(ClickButtonWhenHovered(run.wrapper, kPlayGameLeft));
    ASSERT_TRUE(WaitUntil([&] { return run.GamePids().size() == 2; }, 3000)) << "Play Game starts the game again";
    HANDLE second = OpenProcess(SYNCHRONIZE, FALSE, run.GamePids()[1]);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(WaitForSingleObject(second, 10000), WAIT_OBJECT_0);
    CloseHandle(second);
    ASSERT_TRUE(run.WaitVisible(true, 10000));

    // The DLL consumes WM_CLOSE: it gets result 1, and the shell, whose game has no window left, does not end.
    DWORD_PTR result = 0;
    ASSERT_NE(SendMessageTimeoutA(run.wrapper, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, &result), 0);
    EXPECT_EQ(result, 1u);
    EXPECT_EQ(run.shell.WaitExit(1000), STILL_ACTIVE);
    EXPECT_GE(run.FindCall("madll_HandleWindowsMessage msg=0x0010 "), 0);
}
