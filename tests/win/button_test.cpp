#include <gtest/gtest.h>

#include <windows.h>

#include "draw/button.h"
#include "draw/text.h"
#include "pixels.h"
#include "shell/screen_controller.h"

namespace {
struct Clicks {
    int count = 0;
    bool allowed = true;
    void Click() { ++count; }
    bool Allowed() { return allowed; }
};

// Draws into the canvas the way a frame does, through the shared drawing DC.
void DrawButtons(ScreenController& controller, PixelCanvas& canvas)
{
    DrawingDC = canvas.dc;
    controller.DrawButtons();
    GdiFlush();
    DrawingDC = nullptr;
}
}  // namespace

TEST(Button, AClickIsAPressThenAReleaseInsideAndFiresOnce)
{
    Clicks clicks;
    Button button(460, 472, "Play Game", new Action<Clicks>(&clicks, &Clicks::Click, &Clicks::Allowed));
    button.OnMouseMove(500, 480);
    button.OnMouseDown(460, 472);
    button.OnMouseUp(569, 503);
    EXPECT_EQ(clicks.count, 1);
    EXPECT_FALSE(button.pressed);
    EXPECT_FALSE(button.hovered);

    button.OnMouseDown(460, 472);
    button.OnMouseUp(570, 472);
    button.OnMouseUp(460, 504);
    EXPECT_EQ(clicks.count, 1) << "the right and bottom edges lie outside";
    EXPECT_TRUE(button.pressed) << "a release outside keeps the press";

    button.OnMouseDown(10, 10);
    button.OnMouseUp(500, 480);
    EXPECT_EQ(clicks.count, 2) << "the earlier press still counts";

    clicks.allowed = false;
    button.OnMouseDown(500, 480);
    button.OnMouseUp(500, 480);
    EXPECT_EQ(clicks.count, 2);
    EXPECT_TRUE(button.pressed) << "a refused click keeps the press";
    clicks.allowed = true;
    button.OnMouseUp(500, 480);
    EXPECT_EQ(clicks.count, 3);
    button.Destroy();
}

TEST(Button, ListDrawsAndHandsEventsToEveryButtonButNothingDuringAMenuSession)
{
    ScreenController controller;
    Clicks play, other;
    controller.buttons.Append(new Button(460, 472, "Play Game", new Action<Clicks>(&play, &Clicks::Click)));
    controller.buttons.Append(new Button(587, 472, "Other Games", new Action<Clicks>(&other, &Clicks::Click)));
    PixelCanvas drawn(720, 540, RGB(0, 128, 0));
    DrawButtons(controller, drawn);
    EXPECT_EQ(drawn.At(466, 490), RGB(255, 255, 255));
    EXPECT_EQ(drawn.At(459, 490), RGB(0, 128, 0)) << "nothing left of the button";
    EXPECT_EQ(drawn.At(570, 490), RGB(0, 128, 0)) << "nothing right of it";
    EXPECT_EQ(drawn.At(460, 472), RGB(0, 128, 0)) << "the corners are rounded";

    // The label where centring with halves rounded down puts it, and nowhere else.
    uint32_t width = 0, height = 0;
    MeasureText(drawn.dc, "Play Game", 9, 10, &width, &height);
    PixelCanvas expected(720, 540, RGB(255, 255, 255));
    SetBkMode(expected.dc, TRANSPARENT);
    DrawTextAt(expected.dc, 460 + (110 - static_cast<int>(width)) / 2, 472 + (32 - static_cast<int>(height)) / 2,
               "Play Game", 9, 10);
    GdiFlush();
    int textPixels = 0;
    for (int y = 476; y < 500; ++y) {
        for (int x = 470; x < 560; ++x) {
            ASSERT_EQ(drawn.At(x, y), expected.At(x, y)) << x << "," << y;
            textPixels += expected.At(x, y) != RGB(255, 255, 255);
        }
    }
    EXPECT_GT(textPixels, 50);

    controller.OnMouseMove(600, 480);
    EXPECT_TRUE(static_cast<Button*>(controller.buttons.data[1])->hovered);
    controller.OnMouseDown(600, 480);
    controller.OnMouseUp(600, 480);
    EXPECT_EQ(other.count, 1);
    EXPECT_EQ(play.count, 0);

    controller.menuSessionActive = true;
    controller.OnMouseMove(500, 480);
    controller.OnMouseDown(500, 480);
    controller.OnMouseUp(500, 480);
    EXPECT_EQ(play.count, 0);
    EXPECT_FALSE(static_cast<Button*>(controller.buttons.data[0])->hovered);
    PixelCanvas during(720, 540, RGB(0, 128, 0));
    DrawButtons(controller, during);
    EXPECT_EQ(during.At(500, 490), RGB(0, 128, 0)) << "no button is drawn during a session";

    DeleteAt(controller.buttons, 0);
    EXPECT_STREQ(static_cast<Button*>(controller.buttons.data[0])->label, "Other Games");
    DeleteAt(controller.buttons, 0);
}
