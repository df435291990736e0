#include <gtest/gtest.h>

#include "draw/button.h"
#include "harness.h"
#include "shell/screen_controller.h"

namespace {
struct Clicks {
    int count = 0;
    void Click() { ++count; }
};
}  // namespace

TEST(Button, AClickIsAPressThenAReleaseInsideAndFiresOnceAndTheListKeepsEventsFromButtonsDuringAMenuSession)
{
    Clicks clicks;
    Button button(460, 472, "Play Game", new Action<Clicks>(&clicks, &Clicks::Click));
    // Each step: a press (or none) and a release; then the clicks so far and whether the press is held.
    const struct {
        int downX, downY, upX, upY, clicks;
        bool pressed;
    } steps[] = {
        {460, 472, 569, 503, 1, false},  // the corners just inside
        {460, 472, 570, 472, 1, true},   // released on the right edge, which lies outside
        {-1, -1, 460, 504, 1, true},     // and on the bottom edge
        {10, 10, 500, 480, 2, false},    // the earlier press still counts
    };
    for (const auto& step : steps) {
        const int before = clicks.count;
        if (step.downX >= 0)
            button.OnMouseDown(step.downX, step.downY);
        EXPECT_EQ(clicks.count, before) << "nothing fires on a press";
        button.OnMouseUp(step.upX, step.upY);
        EXPECT_EQ(clicks.count, step.clicks) << step.upX << "," << step.upY;
        EXPECT_EQ(button.pressed, step.pressed) << step.upX << "," << step.upY;
    }
    EXPECT_FALSE(button.hovered);
    button.Destroy();

    // The list hands events to every button, but nothing during a menu session; how the buttons
    // look is compared with the old way's pixels on screen (ClosingPixels).
    ScreenController controller;
    Clicks play, other;
    controller.buttons.Append(new Button(460, 472, "Play Game", new Action<Clicks>(&play, &Clicks::Click)));
    controller.buttons.Append(new Button(587, 472, "Other Games", new Action<Clicks>(&other, &Clicks::Click)));
    controller.OnMouseMove(600, 480);
    EXPECT_TRUE(controller.buttons.At(1)->hovered);
    controller.OnMouseDown(600, 480);
    controller.OnMouseUp(600, 480);
    EXPECT_EQ(other.count, 1);
    EXPECT_EQ(play.count, 0);

    controller.menuSessionActive = true;
    controller.OnMouseMove(500, 480);
    controller.OnMouseDown(500, 480);
    controller.OnMouseUp(500, 480);
    EXPECT_EQ(play.count, 0);
    EXPECT_FALSE(controller.buttons.At(0)->hovered);
    const COLORREF green = RGB(0, 128, 0);
    PixelCanvas drawn(720, 540, green);
    DrawingDC = drawn.dc;
    controller.DrawButtons();
    DrawingDC = nullptr;
    EXPECT_EQ(drawn.Count(green), 720 * 540) << "no button is drawn during a session";

    DeleteAt(controller.buttons, 0);
    EXPECT_STREQ(controller.buttons.At(0)->label, "Other Games");
    DeleteAt(controller.buttons, 0);
}
