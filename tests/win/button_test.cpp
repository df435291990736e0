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

struct PlayButton {
    Clicks clicks;
    Button button{460, 472, "Play Game", new Action<Clicks>(&clicks, &Clicks::Click, &Clicks::Allowed)};
    ~PlayButton() { button.Destroy(); }
};

// Draws one button into a fresh canvas the way a frame does.
void DrawInto(PixelCanvas& canvas, Button& button)
{
    DrawingDC = canvas.dc;
    button.Draw();
    GdiFlush();
    DrawingDC = nullptr;
}
}  // namespace

TEST(Button, AClickIsAPressThenAReleaseInsideAndFiresOnce)
{
    PlayButton play;
    Button& button = play.button;
    button.OnMouseMove(500, 480);
    button.OnMouseDown(460, 472);
    button.OnMouseUp(569, 503);
    EXPECT_EQ(play.clicks.count, 1);
    EXPECT_FALSE(button.pressed);
    EXPECT_FALSE(button.hovered);

    button.OnMouseDown(460, 472);
    button.OnMouseUp(570, 472);
    button.OnMouseUp(460, 504);
    EXPECT_EQ(play.clicks.count, 1) << "the right and bottom edges lie outside";
    EXPECT_TRUE(button.pressed) << "a release outside keeps the press";

    button.OnMouseDown(10, 10);
    button.OnMouseUp(500, 480);
    EXPECT_EQ(play.clicks.count, 2) << "the earlier press still counts";

    play.clicks.allowed = false;
    button.OnMouseDown(500, 480);
    button.OnMouseUp(500, 480);
    EXPECT_EQ(play.clicks.count, 2);
    EXPECT_TRUE(button.pressed) << "a refused click keeps the press";
    play.clicks.allowed = true;
    button.OnMouseUp(500, 480);
    EXPECT_EQ(play.clicks.count, 3);
}

TEST(Button, IsWhiteOrLightGreyWithItsLabelCentredHalvesDown)
{
    PlayButton play;
    Button& button = play.button;
    PixelCanvas normal(720, 540, RGB(0, 128, 0));
    PixelCanvas hovered(720, 540, RGB(0, 128, 0));
    DrawInto(normal, button);
    button.OnMouseMove(465, 476);
    DrawInto(hovered, button);

    EXPECT_EQ(normal.At(466, 490), RGB(255, 255, 255));
    EXPECT_EQ(hovered.At(466, 490), RGB(225, 225, 225));
    EXPECT_EQ(normal.At(459, 490), RGB(0, 128, 0)) << "nothing left of the button";
    EXPECT_EQ(normal.At(570, 490), RGB(0, 128, 0)) << "nothing right of it";
    EXPECT_EQ(normal.At(460, 472), RGB(0, 128, 0)) << "the corners are rounded";

    // The label where centring with halves rounded down puts it, and nowhere else.
    uint32_t width = 0;
    uint32_t height = 0;
    MeasureText(normal.dc, "Play Game", 9, 10, &width, &height);
    PixelCanvas expected(720, 540, RGB(255, 255, 255));
    SetBkMode(expected.dc, TRANSPARENT);
    DrawTextAt(expected.dc, 460 + (110 - static_cast<int>(width)) / 2, 472 + (32 - static_cast<int>(height)) / 2,
               "Play Game", 9, 10);
    GdiFlush();
    int textPixels = 0;
    for (int y = 476; y < 500; ++y) {
        for (int x = 470; x < 560; ++x) {
            ASSERT_EQ(normal.At(x, y), expected.At(x, y)) << x << "," << y;
            textPixels += expected.At(x, y) != RGB(255, 255, 255);
        }
    }
    EXPECT_GT(textPixels, 50);
}

TEST(Button, ListHandsEventsToEveryButtonButNotDuringAMenuSession)
{
    ScreenController controller;
    Clicks play;
    Clicks other;
    controller.buttons.Append(new Button(460, 472, "Play Game", new Action<Clicks>(&play, &Clicks::Click)));
    controller.buttons.Append(new Button(587, 472, "Other Games", new Action<Clicks>(&other, &Clicks::Click)));

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
    PixelCanvas canvas(720, 540, RGB(0, 128, 0));
    DrawingDC = canvas.dc;
    controller.DrawButtons();
    GdiFlush();
    DrawingDC = nullptr;
    EXPECT_EQ(canvas.At(500, 490), RGB(0, 128, 0)) << "no button is drawn during a session";
    controller.menuSessionActive = false;

    DeleteAt(controller.buttons, 0);
    ASSERT_EQ(controller.buttons.count, 1u);
    EXPECT_STREQ(static_cast<Button*>(controller.buttons.data[0])->label, "Other Games");
    DeleteAt(controller.buttons, 0);
    EXPECT_EQ(controller.buttons.count, 0u);
}
