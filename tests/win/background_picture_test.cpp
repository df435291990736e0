#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "demo_game_control.h"
#include "draw/background_picture.h"
#include "pixels.h"
#include "temp_folder.h"

namespace {
const COLORREF UNTOUCHED = RGB(255, 0, 255);

std::string TestPicture(const char* name)
{
    return ProgramFolder() + "testdata\\" + name;
}

// The shared holder is left empty for whatever runs next.
struct HeldBackground {
    ~HeldBackground()
    {
        if (TheBackground.picture != nullptr)
            TheBackground.picture->Release();
        TheBackground.picture = nullptr;
    }
};

// JPEG is lossy: each channel within 12.
bool Near(COLORREF a, COLORREF b)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= 12 && std::abs(GetGValue(a) - GetGValue(b)) <= 12 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 12;
}

int CountUntouched(const PixelCanvas& canvas)
{
    GdiFlush();
    int count = 0;
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x)
            if (canvas.At(x, y) == UNTOUCHED)
                ++count;
    return count;
}

// Quadrants.bmp is 40 x 30: red, green over blue, yellow.
void ExpectQuadrantsAt(const PixelCanvas& canvas, int left, int top)
{
    GdiFlush();
    EXPECT_EQ(canvas.At(left, top), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(left + 39, top), RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(left, top + 29), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(left + 39, top + 29), RGB(255, 255, 0));
    EXPECT_EQ(CountUntouched(canvas), canvas.width * canvas.height - 40 * 30) << "drawn at its natural size only";
}
}  // namespace

TEST(BackgroundPicture, JpegOf720By540CoversTheClientAreaAtScreenResolution)
{
    HeldBackground held;
    ASSERT_TRUE(TheBackground.Load(TestPicture("Background.jpg").c_str()));
    LONG width = 0, height = 0;
    TheBackground.GetHimetricSize(&width, &height);
    EXPECT_EQ(std::to_string(width) + "x" + std::to_string(height), "19050x14288");
    const SIZE pixels = TheBackground.GetSizeInPixels(nullptr);
    EXPECT_EQ(std::to_string(pixels.cx) + "x" + std::to_string(pixels.cy), "720x540");

    PixelCanvas canvas(720, 540, UNTOUCHED);
    DrawBackground(canvas.dc);
    EXPECT_EQ(CountUntouched(canvas), 0);
    // The file takes several read requests, the last one short; the bottom rows come from it.
    EXPECT_TRUE(Near(canvas.At(4, 4), RGB(18, 24, 50))) << "dark sky, top left";
    EXPECT_TRUE(Near(canvas.At(4, 535), RGB(44, 27, 70))) << "purple foot, bottom left";
    EXPECT_TRUE(Near(canvas.At(715, 535), RGB(226, 220, 208))) << "text panel, bottom right";
}

TEST(BackgroundPicture, IsDrawnUprightAndFailedLoadsKeepItUnlessTheFileIsNoPicture)
{
    HeldBackground held;
    ASSERT_TRUE(TheBackground.Load(TestPicture("Quadrants.bmp").c_str()));
    PixelCanvas canvas(60, 50, UNTOUCHED);
    RECT rect = {0, 0, 0, 0};
    EXPECT_TRUE(TheBackground.Render(canvas.dc, &rect, nullptr));
    EXPECT_TRUE(rect.right == 40 && rect.bottom == 30) << "an empty rectangle takes the natural size";
    ExpectQuadrantsAt(canvas, 0, 0);
    canvas.Fill(UNTOUCHED);
    rect = {20, 20, 60, 50};
    TheBackground.Render(canvas.dc, &rect, nullptr);
    ExpectQuadrantsAt(canvas, 20, 20);

    TempFolder folder;
    folder.Write("Empty.jpg", "");
    folder.Write("Notes.jpg", std::string(5000, 'x'));
    EXPECT_FALSE(TheBackground.Load(folder.File("Missing.jpg").c_str()));
    EXPECT_FALSE(TheBackground.Load(folder.File("Empty.jpg").c_str()));
    canvas.Fill(UNTOUCHED);
    DrawBackground(canvas.dc);
    ExpectQuadrantsAt(canvas, 0, 0);

    EXPECT_FALSE(TheBackground.Load(folder.File("Notes.jpg").c_str()));
    EXPECT_EQ(TheBackground.picture, nullptr);
    canvas.Fill(UNTOUCHED);
    DrawBackground(canvas.dc);
    EXPECT_EQ(CountUntouched(canvas), 60 * 50);
}
