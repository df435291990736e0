#include <gtest/gtest.h>

#include "draw/background_picture.h"
#include "harness.h"

namespace {
const COLORREF kUntouched = RGB(255, 0, 255);

// The shared holder is left empty for whatever runs next.
struct HeldBackground {
    ~HeldBackground()
    {
        if (TheBackground.picture != nullptr)
            TheBackground.picture->Release();
        TheBackground.picture = nullptr;
    }
};

// Quadrants.bmp is 40 x 30: red, green over blue, yellow; drawn upright at its natural size only.
void ExpectQuadrantsAt(const PixelCanvas& canvas, int left, int top)
{
    EXPECT_EQ(canvas.Count(kUntouched), canvas.width * canvas.height - 40 * 30);
    EXPECT_EQ(canvas.At(left, top), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(left + 39, top), RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(left, top + 29), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(left + 39, top + 29), RGB(255, 255, 0));
}
}  // namespace

TEST(BackgroundPicture, CoversTheClientAreaIsDrawnUprightAndFailedLoadsKeepItUnlessTheFileIsNoPicture)
{
    HeldBackground held;
    ASSERT_TRUE(TheBackground.Load((ProgramFolder() + "testdata\\Background.jpg").c_str()));
    const SIZE pixels = TheBackground.GetSizeInPixels(nullptr);
    EXPECT_EQ(pixels.cx, 720);
    EXPECT_EQ(pixels.cy, 540);
    PixelCanvas client(720, 540, kUntouched);
    DrawBackground(client.dc);
    EXPECT_EQ(client.Count(kUntouched), 0);
    // The file takes several read requests, the last one short: the bottom rows come from it.
    const COLORREF panel = client.At(715, 535);  // the text panel, light; JPEG is lossy
    EXPECT_GT(GetRValue(panel), 200) << std::hex << panel;
    EXPECT_GT(GetGValue(panel), 200) << std::hex << panel;
    EXPECT_GT(GetBValue(panel), 190) << std::hex << panel;

    ASSERT_TRUE(TheBackground.Load((ProgramFolder() + "testdata\\Quadrants.bmp").c_str()));
    PixelCanvas canvas(60, 50, kUntouched);
    RECT rect = {0, 0, 0, 0};
    EXPECT_TRUE(TheBackground.Render(canvas.dc, &rect, nullptr));
    EXPECT_EQ(rect.right, 40) << "an empty rectangle takes the natural size";
    EXPECT_EQ(rect.bottom, 30);
    ExpectQuadrantsAt(canvas, 0, 0);
    canvas.Fill(kUntouched);
    rect = {20, 20, 60, 50};
    TheBackground.Render(canvas.dc, &rect, nullptr);
    ExpectQuadrantsAt(canvas, 20, 20);

    TempFolder folder;
    folder.Write("Empty.jpg", "");
    folder.Write("Notes.jpg", std::string(5000, 'x'));
    EXPECT_FALSE(TheBackground.Load(folder.File("Missing.jpg").c_str()));
    EXPECT_FALSE(TheBackground.Load(folder.File("Empty.jpg").c_str()));
    canvas.Fill(kUntouched);
    DrawBackground(canvas.dc);
    ExpectQuadrantsAt(canvas, 0, 0);

    EXPECT_FALSE(TheBackground.Load(folder.File("Notes.jpg").c_str()));
    EXPECT_EQ(TheBackground.picture, nullptr);
    canvas.Fill(kUntouched);
    DrawBackground(canvas.dc);
    EXPECT_EQ(canvas.Count(kUntouched), 60 * 50);
}
