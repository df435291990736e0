#include <gtest/gtest.h>

#include <random>
#include <string>

#include "draw/text_layout.h"
#include "old_line_breaking.h"

namespace {

// Characters of a few classes, each class with its own width; a line as high as `height`.
struct SeamColumn : WrapColumn {
    const char* text;
    uint32_t classWidths[4];
    uint32_t height;
    std::vector<OldLine> lines;

    uint32_t Width(char c) const { return classWidths[static_cast<unsigned char>(c) % 4]; }
    uint32_t MeasurePrefixes(const char* run, uint32_t length, uint32_t* widths) override
    {
        for (uint32_t i = 0, sum = 0; i < length; ++i)
            widths[i] = sum += Width(run[i]);
        return height;
    }
    void DrawLine(const char* line, uint32_t length, uint32_t top) override
    {
        lines.push_back(OldLine{static_cast<uint32_t>(line - text), length, top});
    }
};

}  // namespace

TEST(LineBreakingAgreement, OneMeasurementPerLineBreaksWhereEveryCandidateMeasuredDid)
{
    std::mt19937 random(10);
    const char alphabet[] = "abcdefgh  \n\t";
    for (int round = 0; round < 50000; ++round) {
        std::string text(random() % 90, ' ');
        for (char& c : text)
            c = random() % 500 == 0 ? '\0' : alphabet[random() % (sizeof alphabet - 1)];
        SeamColumn column;
        column.text = text.data();
        for (uint32_t& width : column.classWidths)
            width = random() % 12;
        column.height = 1 + random() % 20;
        const uint32_t width = random() % 4 == 0 ? random() % 8 : random() % 300;

        const uint32_t height = LayOutWrappedText(text.data(), static_cast<uint32_t>(text.size()), width, column);
        const OldLayout old = OldLayOut(text.data(), static_cast<uint32_t>(text.size()), width,
                                        [&](const char* run, uint32_t n) {
                                            OldExtent extent = {0, column.height};
                                            for (uint32_t i = 0; i < n; ++i)
                                                extent.width += column.Width(run[i]);
                                            return extent;
                                        });
        ASSERT_EQ(column.lines, old.lines) << "width " << width << ", text \"" << text << "\"";
        ASSERT_EQ(height, old.height);
    }
}
