#include <gtest/gtest.h>

#include <cstring>

#include "draw/gdi_selection.h"
#include "old_closing_frame.h"
#include "shell_driver.h"

namespace {

const COLORREF kPaintedOver = RGB(255, 0, 255);  // the reference DLL's paint_over colour
const char kDesktop[] = "Control Panel\\Desktop";

// ClearType for the processes started while it lives (a process reads its font settings as it
// starts); the values it replaced come back afterwards.
struct ClearTypeOn {
    char smoothing[8] = "0";
    DWORD type = FE_FONTSMOOTHINGSTANDARD, size = sizeof(smoothing), typeSize = sizeof(type);
    ClearTypeOn()
    {
        RegGetValueA(HKEY_CURRENT_USER, kDesktop, "FontSmoothing", RRF_RT_REG_SZ, nullptr, smoothing, &size);
        RegGetValueA(HKEY_CURRENT_USER, kDesktop, "FontSmoothingType", RRF_RT_REG_DWORD, nullptr, &type, &typeSize);
        Set("2", FE_FONTSMOOTHINGCLEARTYPE);
    }
    ~ClearTypeOn() { Set(smoothing, type); }
    static void Set(const char* on, DWORD kind)
    {
        RegSetKeyValueA(HKEY_CURRENT_USER, kDesktop, "FontSmoothing", REG_SZ, on, DWORD(strlen(on) + 1));
        RegSetKeyValueA(HKEY_CURRENT_USER, kDesktop, "FontSmoothingType", REG_DWORD, &kind, sizeof(kind));
    }
};

}  // namespace

// Whatever paints the window over (the arcade layer taking WM_PAINT after an invalidation or a hide
// and show, or a program drawing into it), the next due tick shows the whole frame again.
TEST(FrameOnScreen, ComesBackWithinATickOfAnythingPaintingOverIt)
{
    ShellRun run;
    ASSERT_TRUE(run.Start("exitafter=300", "paint_over=1"));
    PixelCanvas shot(720, 540), scribble(720, 540, kPaintedOver);
    const auto frameShows = [&] {
        shot.CaptureClient(run.wrapper);
        return shot.At(466, 490) == kWhite && shot.Count(kPaintedOver) == 0;
    };
    ASSERT_TRUE(WaitUntil(frameShows, 10000));
    // At phases of the countdown's second apart: a frame shown only when it changes comes late.
    for (const char* how : {"invalidated", "drawn over", "hidden and shown"}) {
        const size_t before = run.ArcadeCalls().size();
        if (how[0] == 'i') {
            InvalidateRect(run.wrapper, nullptr, FALSE);
        } else if (how[0] == 'h') {
            ShowWindow(run.wrapper, SW_HIDE);
            ShowWindow(run.wrapper, SW_SHOWNA);
        } else {
            BitBlt(WindowDC(run.wrapper).dc, 0, 0, 720, 540, scribble.dc, 0, 0, SRCCOPY);
        }
        const char paint[] = "madll_HandleWindowsMessage msg=0x000F ";
        if (how[0] != 'd') {
            ASSERT_TRUE(run.WaitCall(paint, before)) << how;
            const std::string call = run.ArcadeCalls()[static_cast<size_t>(run.FindCall(paint, before))];
            EXPECT_EQ(call.substr(call.size() - 4), "-> 1") << "the DLL took the paint";
        }
        EXPECT_TRUE(WaitUntil(frameShows, 200)) << how;
        Sleep(330);
    }
}

// With no picture behind it, each frame is drawn over the last: smoothed text darkens frame after
// frame until it settles, and the screen shows what drawing every frame on one canvas gives.
TEST(FrameOnScreen, WithoutABackgroundEveryFrameIsDrawnOverTheLast)
{
    ShellRun run;
    run.background = false;
    ASSERT_TRUE(run.Start("exitafter=300"));
    const BackgroundAside noPicture;
    PixelCanvas expected(720, 540);
    // Black text on a black buffer: the countdown's own digits never show.
    for (int frame = 0; frame < 400; ++frame)
        DrawOldClosingFrame(expected.dc, "Sample Game", 20.0f);
    PixelCanvas shot(720, 540);
    ASSERT_TRUE(WaitUntil([&] { return shot.CaptureClient(run.wrapper), shot.At(466, 490) == kWhite; }, 10000));
    const DWORD shown = GetTickCount();
    for (const DWORD at : {3000, 8000}) {
        SleepUntil(shown + at);
        shot.CaptureClient(run.wrapper);
        EXPECT_EQ(shot.Differences(expected), "0") << at << " ms in";
    }
}

// Text smoothed in colour, run in a new process that starts with ClearType on, as does every shell
// it starts: the button labels and the build label drawn frame over frame are the old way's.
TEST(FrameOnScreen, WithClearTypeTheFramesAreTheOldWays)
{
    const ClearTypeOn clearType;
    UINT type = 0;
    SystemParametersInfoA(SPI_GETFONTSMOOTHINGTYPE, 0, &type, 0);
    ASSERT_EQ(type, static_cast<UINT>(FE_FONTSMOOTHINGCLEARTYPE));
    EXPECT_EQ(RunToEnd(ProgramFolder() + "e2e_tests.exe", "--gtest_filter=FrameOnScreen.Without*", 120000), 0u);
}
