#include <gtest/gtest.h>

#include "old_closing_frame.h"
#include "shell_driver.h"

TEST(ClosingPixels, FramesOnScreenEqualTheOldWayForShortLongSpacelessBlankAndTabbedNames)
{
    ASSERT_TRUE(TheBackground.Load((ProgramFolder() + "testdata\\Background.jpg").c_str()));
    const std::string names[] = {"Sample Game", GameName(254), std::string(254, 'W'), std::string(60, ' '),
                                 "Tab\tin it,\t\ttwice, and [GAME_TITLE] words enough to wrap the column"};
    for (const std::string& name : names) {
        ShellRun run;
        run.settings = "Application Name=" + name + "\r\n";
        ASSERT_TRUE(run.Start("exitafter=300"));
        PixelCanvas shot(720, 540);
        const auto showing = [&](COLORREF colour, int x, int y) {
            return WaitUntil([&] { return shot.CaptureClient(run.wrapper), shot.At(x, y) == colour; }, 10000);
        };
        const auto expectOldFrame = [&](DWORD at, float countdown) {
            SleepUntil(at);
            shot.CaptureClient(run.wrapper);
            PixelCanvas expected(720, 540);
            DrawOldClosingFrame(expected.dc, name.c_str(), countdown);
            EXPECT_EQ(shot.Differences(expected), "0") << countdown << " s, name \"" << name << "\"";
        };
        ASSERT_TRUE(showing(kWhite, 466, 490));
        DWORD shown = GetTickCount();
        // "20" shows for the first half second of ticks, "19" for the second after it.
        expectOldFrame(shown + 150, 20.0f);
        if (&name == &names[0]) {
            // After a menu session the buffer holds the catalogue, though the countdown stood still.
            PostMessageA(run.wrapper, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(600, 488));
            PostMessageA(run.wrapper, WM_LBUTTONUP, 0, MAKELPARAM(600, 488));
            ASSERT_TRUE(showing(RGB(40, 96, 168), 50, 200));
            PostMessageA(run.wrapper, WM_KEYDOWN, VK_ESCAPE, 0);
            ASSERT_TRUE(showing(kWhite, 466, 490));
            shown = GetTickCount() - 250;
            expectOldFrame(GetTickCount() + 50, 20.0f);
        }
        expectOldFrame(shown + 1000, 19.0f);
    }
}
