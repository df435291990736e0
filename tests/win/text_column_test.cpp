#include <gtest/gtest.h>

#include "draw/text_column.h"
#include "harness.h"

// Where the kit keeps work between frames; its pixels are the old way's (ClosingPixels).
TEST(TextColumn, KeepsOneLayoutPerTextSizeAndWidth)
{
    PixelCanvas canvas(400, 300);
    const char* const texts[] = {"Quest for the Crystal Harbor of Lantern Isles", "Quest"};
    TextColumn kept;
    for (int round = 0; round < 2; ++round) {
        for (const char* text : texts) {
            for (const int points : {10, 14}) {
                for (const int width : {60, 400}) {
                    TextColumn fresh;
                    EXPECT_EQ(kept.Draw(canvas.dc, text, points, 0, 0, width), fresh.Draw(canvas.dc, text, points, 0, 0, width))
                        << text << " at " << points << " points in " << width;
                }
            }
        }
    }
}
