#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <utility>

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

typedef std::pair<LONG, LONG> Size;
Size Pair(SIZE size)
{
    return Size(size.cx, size.cy);
}
Size Converted(HDC dc)
{
    SIZE size = {19050, 14288};
    HimetricToPixels(dc, &size);
    return Pair(size);
}
}  // namespace

TEST(BackgroundPicture, JpegOf720By540CoversTheClientAreaAtScreenResolution)
{
    HeldBackground held;
    ASSERT_TRUE(TheBackground.Load(TestPicture("Background.jpg").c_str()));
    LONG width = 0, height = 0;
    TheBackground.GetHimetricSize(&width, &height);
    EXPECT_EQ(Size(width, height), Size(19050, 14288));
    EXPECT_EQ(Pair(TheBackground.GetSizeInPixels(nullptr)), Size(720, 540));

    PixelCanvas canvas(720, 540, UNTOUCHED);
    DrawBackground(canvas.dc);
    EXPECT_EQ(CountUntouched(canvas), 0);
    // The file takes several read requests, the last one short; the bottom rows come from it.
    EXPECT_TRUE(Near(canvas.At(4, 4), RGB(18, 24, 50))) << "dark sky, top left";
    EXPECT_TRUE(Near(canvas.At(4, 535), RGB(44, 27, 70))) << "purple foot, bottom left";
    EXPECT_TRUE(Near(canvas.At(600, 10), RGB(245, 241, 232))) << "light text panel, top";
    EXPECT_TRUE(Near(canvas.At(715, 535), RGB(226, 220, 208))) << "text panel, bottom right";
}

TEST(BackgroundPicture, IsDrawnUprightAndAnEmptyRectangleTakesTheNaturalSize)
{
    BackgroundPicture picture;
    ASSERT_TRUE(picture.Load(TestPicture("Quadrants.bmp").c_str()));
    PixelCanvas canvas(60, 50, UNTOUCHED);
    RECT rect = {0, 0, 0, 0};
    EXPECT_TRUE(picture.Render(canvas.dc, &rect, nullptr));
    EXPECT_EQ(Size(rect.right, rect.bottom), Size(40, 30));
    ExpectQuadrantsAt(canvas, 0, 0);

    canvas.Fill(UNTOUCHED);
    rect = {20, 20, 60, 50};
    picture.Render(canvas.dc, &rect, nullptr);
    ExpectQuadrantsAt(canvas, 20, 20);
}

TEST(BackgroundPicture, FailedLoadsKeepThePictureUnlessTheFileIsNoPicture)
{
    HeldBackground held;
    TempFolder folder;
    folder.Write("Empty.jpg", "");
    folder.Write("Notes.jpg", std::string(5000, 'x'));

    ASSERT_TRUE(TheBackground.Load(TestPicture("Quadrants.bmp").c_str()));
    EXPECT_FALSE(TheBackground.Load(folder.File("Missing.jpg").c_str()));
    EXPECT_FALSE(TheBackground.Load(folder.File("Empty.jpg").c_str()));
    PixelCanvas canvas(60, 50, UNTOUCHED);
    DrawBackground(canvas.dc);
    ExpectQuadrantsAt(canvas, 0, 0);

    EXPECT_FALSE(TheBackground.Load(folder.File("Notes.jpg").c_str()));
    EXPECT_EQ(TheBackground.picture, nullptr);
    EXPECT_EQ(Pair(TheBackground.GetSizeInPixels(nullptr)), Size(0, 0));
    canvas.Fill(UNTOUCHED);
    DrawBackground(canvas.dc);
    EXPECT_EQ(CountUntouched(canvas), 60 * 50);
}

TEST(BackgroundPicture, HimetricToPixelsFollowsTheMappingMode)
{
    PixelCanvas canvas(8, 8);
    ASSERT_EQ(GetDeviceCaps(canvas.dc, LOGPIXELSX), 96);
    EXPECT_EQ(Converted(canvas.dc), Size(720, 540));

    SetMapMode(canvas.dc, MM_ANISOTROPIC);
    SetWindowExtEx(canvas.dc, 200, 100, nullptr);
    SetViewportExtEx(canvas.dc, 100, 100, nullptr);
    EXPECT_EQ(Converted(canvas.dc), Size(1440, 540));

    // Tenths of a millimetre, by way of the device's pixels: about a tenth of the HIMETRIC size.
    SetMapMode(canvas.dc, MM_LOMETRIC);
    const Size metric = Converted(canvas.dc);
    EXPECT_NEAR(metric.first, 1905, 3);
    EXPECT_NEAR(metric.second, 1429, 3);
    EXPECT_EQ(GetMapMode(canvas.dc), MM_LOMETRIC);
}
