#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "draw/text.h"
#include "pixels.h"
#include "shell/screen_controller.h"

namespace {
const COLORREF WHITE = RGB(255, 255, 255);

// Pixels that are not white in [left, right) x [top, bottom).
int Ink(const PixelCanvas& canvas, int left, int top, int right, int bottom)
{
    GdiFlush();
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            count += canvas.At(x, y) != WHITE;
    return count;
}

struct Countdown {
    float saved = ScreenController::Instance().closeCountdown;
    explicit Countdown(float seconds) { ScreenController::Instance().closeCountdown = seconds; }
    ~Countdown() { ScreenController::Instance().closeCountdown = saved; }
};
}  // namespace

TEST(Text, TitleBlockIsTheLineHeightPlusNineWithTheRuleOnItsFifthRow)
{
    PixelCanvas canvas(320, 100, WHITE);
    uint32_t titleWidth = 0, lineHeight = 0;
    MeasureText(canvas.dc, "Win Test Game", 13, 14, &titleWidth, &lineHeight);
    const int x = 40, y = 10, width = 230, h = static_cast<int>(lineHeight);

    ASSERT_EQ(ScreenController::Instance().DrawTitleBlock(canvas.dc, x, y, width), lineHeight + 9);
    EXPECT_EQ(canvas.At(x, y + h + 4), RGB(0, 0, 0));
    EXPECT_EQ(Ink(canvas, x, y + h + 4, x + width, y + h + 5), width);
    EXPECT_GT(Ink(canvas, x, y, x + width, y + h), 0);
    EXPECT_EQ(Ink(canvas, 0, 0, 320, 100), Ink(canvas, x, y, x + width, y + h) + width)
        << "nothing but the title and the rule: its neighbour rows and ends stay clear";
}

TEST(Text, ClosingTextWrapsInsideItsColumnOneLineHeightPerLineAndRoundsItsCountdown)
{
    Countdown twenty(20.0f);
    PixelCanvas canvas(320, 200, WHITE), expected(320, 200, WHITE);
    uint32_t labelWidth = 0, lineHeight = 0;
    MeasureText(canvas.dc, "Play Game", 9, 10, &labelWidth, &lineHeight);
    ASSERT_TRUE(labelWidth == 65 && lineHeight == 15) << "Liberation Sans at 13 pixels";
    const int x = 40, y = 20, width = 230;

    const uint32_t used = ScreenController::Instance().DrawWrappedText(
        "Thank you for playing the Full Version of [GAME_TITLE]. \n \nPlease visit our website to evaluate other "
        "great games. \n \nThis window will automaticaly close in [TIME_TO_CLOSE] Seconds.",
        10, canvas.dc, x, y, width);

    // Each line breaks after the last space that fits ("...Version of " measures 239).
    const char* const lines[] = {"Thank you for playing the Full Version ", "of Win Test Game. ", " ",
                                 "Please visit our website to evaluate ",  "other great games. ", " ",
                                 "This window will automaticaly close in ", "20 Seconds."};
    ASSERT_EQ(used, 8 * lineHeight);
    SetBkMode(expected.dc, TRANSPARENT);
    for (int i = 0; i < 8; ++i)
        DrawTextAt(expected.dc, x, y + i * 15, lines[i], static_cast<int>(std::strlen(lines[i])), 10);
    GdiFlush();
    EXPECT_EQ(std::memcmp(canvas.bits, expected.bits, canvas.stride * 200), 0);
    EXPECT_EQ(Ink(canvas, 0, 0, 320, 200), Ink(canvas, x, y, x + width, y + static_cast<int>(used)));

    ScreenController::Instance().closeCountdown = 2.5f;
    char* text = ScreenController::Instance().ExpandTemplate("[TIME_TO_CLOSE]");
    EXPECT_STREQ(text, "3") << "a half rounds up with this runtime too";
    std::free(text);
}
