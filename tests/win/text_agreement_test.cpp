#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <string>

#include "draw/text.h"
#include "draw/text_column.h"
#include "draw/text_layout.h"
#include "old_closing_frame.h"
#include "harness.h"

namespace {

// The new way: the kit's kept fonts, one prefix query per line.
struct KitColumn : WrapColumn {
    HDC dc;
    int points;
    const char* text;
    std::vector<OldLine> lines;

    uint32_t MeasurePrefixes(const char* run, uint32_t length, uint32_t* widths) override
    {
        return MeasureTextPrefixes(dc, run, static_cast<int>(length), points, widths);
    }
    void DrawLine(const char* line, uint32_t length, uint32_t top) override
    {
        lines.push_back(OldLine{static_cast<uint32_t>(line - text), length, top});
    }
};

}  // namespace

TEST(LineBreakingAgreement, RealFontsBreakWhereTheOldWayBrokeTabsAndNarrowColumnsToo)
{
    PixelCanvas canvas(8, 8);
    std::mt19937 random(10);
    const char* const words[] = {"a", "Quest", "W", "lantern", "iiii", " ", "  ", "\n", "\t", "x\ty", "MMMMMMMMMMMM", "."};
    const int sizes[] = {6, 10, 14};
    for (int round = 0; round < 1500; ++round) {
        std::string text;
        for (int i = random() % 40; i > 0; --i)
            text += words[random() % 12];
        const int points = sizes[random() % 3];
        const uint32_t width = random() % 5 == 0 ? random() % 12 : random() % 320;
        KitColumn column;
        column.dc = canvas.dc;
        column.points = points;
        column.text = text.c_str();
        const uint32_t height = LayOutWrappedText(text.c_str(), static_cast<uint32_t>(text.size()), width, column);
        const OldLayout old = OldLayOut(text.c_str(), static_cast<uint32_t>(text.size()), width,
                                        [&](const char* run, uint32_t n) { return OldMeasure(canvas.dc, run, n, points); });
        ASSERT_EQ(column.lines, old.lines) << points << " points, width " << width << ", text \"" << text << "\"";
        ASSERT_EQ(height, old.height);
    }
}

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
