#include <gtest/gtest.h>

#include <random>

#include "draw/text.h"
#include "draw/text_column.h"
#include "harness.h"

namespace {

// Every printable character of the ANSI code page, in an order that varies from text to text.
std::vector<std::string> GeneratedTexts()
{
    std::string printable;
    for (int c = 0x20; c <= 0xFF; ++c)
        if (c != 0x7F && c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D)
            printable += static_cast<char>(c);
    std::vector<std::string> texts = {printable};
    std::mt19937 random(14);
    for (size_t length = 1; length <= 300; length += 1 + length / 8) {
        std::string text(length, ' ');
        for (char& c : text)
            c = printable[random() % printable.size()];
        texts.push_back(text);
    }
    return texts;
}

}  // namespace

// A line's fit comes from the partial widths of one query; the layout measures each prefix with
// the tabbed query. The two must agree prefix by prefix in every size the shell draws.
TEST(TextWidths, PartialWidthsEqualTheTabbedMeasureOfEveryPrefix)
{
    PixelCanvas canvas(16, 16);
    const std::vector<std::string> texts = GeneratedTexts();
    for (const int points : {14, 10, 6}) {
        for (const std::string& text : texts) {
            std::vector<uint32_t> widths(text.size());
            const int length = static_cast<int>(text.size());
            const uint32_t height = MeasureTextPrefixes(canvas.dc, text.data(), length, points, widths.data());
            uint32_t width = 0, tabbedHeight = 0;
            int agreeing = 0;
            for (; agreeing < length; ++agreeing) {
                MeasureText(canvas.dc, text.data(), agreeing + 1, points, &width, &tabbedHeight);
                if (width != widths[agreeing])
                    break;
            }
            EXPECT_EQ(agreeing, length) << points << " points, \"" << text << "\": the next prefix measures " << width;
            EXPECT_EQ(height, tabbedHeight) << points << " points";
        }
    }
}

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
