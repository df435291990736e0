#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

#include "draw/text.h"
#include "harness.h"
#include "shell/screen_controller.h"

TEST(Text, TitleBlockIsTheLineHeightPlusNineWithTheRuleOnItsFifthRowAndTheCountdownRoundsUp)
{
    const COLORREF white = RGB(255, 255, 255);
    PixelCanvas canvas(320, 100, white);
    uint32_t titleWidth = 0, lineHeight = 0;
    MeasureText(canvas.dc, "Win Test Game", 13, 14, &titleWidth, &lineHeight);
    const int x = 40, y = 10, width = 230, h = static_cast<int>(lineHeight);
    ScreenController& controller = ScreenController::Instance();
    ASSERT_EQ(controller.DrawTitleBlock(canvas.dc, x, y, width), lineHeight + 9);
    const RECT title = {x, y, x + width, y + h}, rule = {x, y + h + 4, x + width, y + h + 5};
    EXPECT_GT(canvas.Count(white, &title, true), 0);
    EXPECT_EQ(canvas.Count(RGB(0, 0, 0), &rule), width);
    EXPECT_EQ(canvas.Count(white, nullptr, true), canvas.Count(white, &title, true) + width)
        << "nothing but the title and the rule: its neighbour rows and ends stay clear";

    // A half rounds up with this runtime's formatting too.
    controller.closeCountdown = 2.5f;
    char* text = controller.ExpandTemplate("[TIME_TO_CLOSE]");
    EXPECT_STREQ(text, "3");
    std::free(text);
}
