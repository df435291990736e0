#include "closing_fit.h"

#include <cstdlib>
#include <cstring>

#include "shell/closing_screen.h"

namespace {

struct MeasuringColumn : WrapColumn {
    MeasuringColumn(TextMeasurer& measurer, int points) : measurer(measurer), points(points) {}
    uint32_t MeasurePrefixes(const char* run, uint32_t length, uint32_t* widths) override
    {
        return measurer.MeasurePrefixes(points, run, length, widths);
    }
    void DrawLine(const char*, uint32_t, uint32_t) override {}

    TextMeasurer& measurer;
    int points;
};

uint32_t LaidOutHeight(const char* text, const char* name, int points, TextMeasurer& measurer)
{
    // The first frame shows 20: two digits, as wide as the countdown ever gets.
    char* expanded = ExpandPlaceholders(text, 20.0f, name);
    MeasuringColumn column(measurer, points);
    const uint32_t height = LayOutWrappedText(expanded, static_cast<uint32_t>(std::strlen(expanded)),
                                              static_cast<uint32_t>(CLOSING_TEXT_WIDTH), column);
    std::free(expanded);
    return height;
}

}  // namespace

uint32_t ClosingTextBottom(const char* name, TextMeasurer& measurer)
{
    const uint32_t title = LaidOutHeight(name, name, CLOSING_TITLE_POINTS, measurer);
    const uint32_t body = LaidOutHeight(CLOSING_SCREEN_TEXT, name, CLOSING_BODY_POINTS, measurer);
    return static_cast<uint32_t>(CLOSING_TEXT_TOP) + title + SEPARATOR_BLOCK_HEIGHT + body;
}
