#include <gtest/gtest.h>

#include <cstdio>

#include "shell_driver.h"

namespace {

const int kPlayGameLeft = 460;
const int kOtherGamesLeft = 587;
const COLORREF kScribble = RGB(255, 0, 255);
const COLORREF kTileZero = RGB(40, 96, 168);
const COLORREF kHoverBorder = RGB(255, 214, 0);
const RECT kTileZeroRect = {40, 100, 240, 240};
const RECT kBlinkRect = {676, 22, 692, 38};

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

// Index of the first journal line at or after `from` that starts with the prefix, or -1.
int FindCall(const std::vector<std::string>& calls, size_t from, const char* prefix)
{
    for (size_t i = from; i < calls.size(); ++i) {
        if (StartsWith(calls[i], prefix))
            return static_cast<int>(i);
    }
    return -1;
}

bool WaitCall(const ShellRun& run, size_t from, const char* prefix, DWORD timeoutMs)
{
    return WaitUntil([&] { return FindCall(run.ArcadeCalls(), from, prefix) >= 0; }, timeoutMs);
}

std::vector<RECT> ReportedRects(const std::vector<std::string>& calls, size_t from)
{
    std::vector<RECT> rects;
    for (size_t i = from; i < calls.size(); ++i) {
        RECT r;
        int index = 0;
        if (std::sscanf(calls[i].c_str(), "madll_GetUpdateRect %d -> %ld %ld %ld %ld", &index, &r.left, &r.top,
                        &r.right, &r.bottom) == 5)
            rects.push_back(r);
    }
    return rects;
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

// Paints over the wrapper's pixels on screen from outside, as no frame of the shell would.
void Scribble(HWND wrapper)
{
    HDC dc = GetDC(wrapper);
    HBRUSH brush = CreateSolidBrush(kScribble);
    const RECT client = {0, 0, 720, 540};
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    ReleaseDC(wrapper, dc);
    GdiFlush();
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
    ASSERT_TRUE(WaitCall(run, beforeClick, "madll_EnterMenuSession", 3000));
    const DWORD entered = GetTickCount();
    std::vector<std::string> calls = run.ArcadeCalls();
    EXPECT_EQ(calls[FindCall(calls, beforeClick, "madll_EnterMenuSession")], "madll_EnterMenuSession 1 720 540 -> 0");
    ASSERT_TRUE(WaitCall(run, beforeClick, "madll_GetUpdateRect 0 -> 0 0 720 540", 3000)) << "a first whole frame";

    PixelCanvas shot(720, 540);
    EXPECT_TRUE(WaitUntil([&] { return CaptureClient(run.wrapper, shot), shot.At(50, 200) == kTileZero; }, 2000))
        << "the catalogue is on screen";

    // Whatever lies outside the rectangles the DLL reports must stay as the screen had it.
    const size_t beforeScribble = run.ArcadeCalls().size();
    Scribble(run.wrapper);
    // Reading the screen makes sure the scribble has reached it before the frames go on.
    CaptureClient(run.wrapper, shot);
    EXPECT_GT(CountColour(shot, RECT{0, 0, 720, 540}, kScribble), 300000);
    MoveMouseTo(run.wrapper, 140, 170);
    Sleep(1500);
    CaptureClient(run.wrapper, shot);
    calls = run.ArcadeCalls();
    EXPECT_EQ(FindCall(calls, beforeScribble, "madll_DrawNextFrameIntoBuffer stride=2160 bpp=3 repaint=0"), -1);
    const std::vector<RECT> rects = ReportedRects(calls, beforeScribble);
    ASSERT_FALSE(rects.empty());
    int outside = 0;
    int changedOutside = 0;
    for (int y = 0; y < 540; ++y) {
        for (int x = 0; x < 720; ++x) {
            const POINT at = {x, y};
            bool reported = false;
            for (const RECT& r : rects)
                reported |= PtInRect(&r, at) != FALSE;
            if (reported)
                continue;
            ++outside;
            changedOutside += shot.At(x, y) != kScribble;
        }
    }
    EXPECT_GT(outside, 300000);
    EXPECT_EQ(changedOutside, 0);
    EXPECT_EQ(CountColour(shot, kTileZeroRect, kScribble), 0) << "the hovered tile was presented whole";
    EXPECT_EQ(shot.At(47, 150), kHoverBorder) << "the mouse reaches the DLL";
    const COLORREF blink = shot.At(kBlinkRect.left, kBlinkRect.top);
    EXPECT_NE(blink, kScribble);
    EXPECT_EQ(CountColour(shot, kBlinkRect, blink), 16 * 16);

    // A paint of the window asks the DLL for a whole frame once.
    const size_t beforePaint = run.ArcadeCalls().size();
    InvalidateRect(run.wrapper, nullptr, FALSE);
    ASSERT_TRUE(WaitCall(run, beforePaint, "madll_DrawNextFrameIntoBuffer stride=2160 bpp=3 repaint=0", 3000));
    Sleep(300);
    calls = run.ArcadeCalls();
    const int paint = FindCall(calls, beforePaint, "madll_HandleWindowsMessage msg=0x000F ");
    ASSERT_GE(paint, 0);
    const int first = FindCall(calls, paint, "madll_DrawNextFrameIntoBuffer");
    ASSERT_GE(first, 0);
    EXPECT_NE(calls[first].find(" repaint=0 "), std::string::npos) << calls[first];
    const int next = FindCall(calls, first + 1, "madll_DrawNextFrameIntoBuffer");
    ASSERT_GE(next, 0);
    EXPECT_NE(calls[next].find(" repaint=1 "), std::string::npos) << calls[next];
    EXPECT_EQ(calls[FindCall(calls, first, "madll_GetUpdateRect")], "madll_GetUpdateRect 0 -> 0 0 720 540");
    CaptureClient(run.wrapper, shot);
    EXPECT_EQ(CountColour(shot, RECT{0, 0, 720, 540}, kScribble), 0);

    // Eight seconds in the session, then Escape: the countdown goes on from where it stood.
    SleepUntil(entered + 8000);
    const size_t beforeEscape = run.ArcadeCalls().size();
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitCall(run, beforeEscape, "madll_IsTheMenuSessionComplete -> 1", 3000));
    const DWORD left = GetTickCount();
    Sleep(200);
    const int expected = 20 - static_cast<int>((entered - shown + 500) / 1000);
    const int seconds = ShownCountdown(run.wrapper);
    EXPECT_GE(seconds, expected - 1);
    EXPECT_LE(seconds, expected + 1);

    bool asked = false;
    EXPECT_EQ(run.WaitExitWithoutQuestion(40000, &asked), 0u);
    const DWORD lifetime = GetTickCount() - shown;
    EXPECT_GE(lifetime, 20000 + (left - entered) - 1000);
    EXPECT_LE(lifetime, 20000 + (left - entered) + 8000);
}

TEST(OtherGames, AFailedSessionShowsTheDllsErrorAndTheButtonsKeepWorking)
{
    ShellRun run;
    ASSERT_TRUE(run.Start("exitafter=300", "enter_result=7\r\nerror_text=The catalogue is closed today.\r\n"));
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
    const std::vector<std::string> calls = run.ArcadeCalls();
    EXPECT_GE(FindCall(calls, 0, "madll_EnterMenuSession 1 720 540 -> 7"), 0);
    EXPECT_EQ(FindCall(calls, 0, "madll_DrawNextFrameIntoBuffer"), -1) << "no session started";

    ASSERT_TRUE(ClickButtonWhenHovered(run.wrapper, kPlayGameLeft));
    ASSERT_TRUE(WaitUntil([&] { return run.GamePids().size() == 2; }, 3000)) << "Play Game starts the game again";
    HANDLE second = OpenProcess(SYNCHRONIZE, FALSE, run.GamePids()[1]);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(WaitForSingleObject(second, 10000), WAIT_OBJECT_0);
    CloseHandle(second);
    ASSERT_TRUE(run.WaitVisible(true, 10000));
    PostMessageA(run.wrapper, WM_CLOSE, 0, 0);
    bool asked = false;
    EXPECT_EQ(run.WaitExitWithoutQuestion(10000, &asked), 0u);
}
