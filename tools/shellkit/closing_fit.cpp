#include "closing_fit.h"

#include <cstdlib>
#include <cstring>

#include "shell/closing_screen.h"
#include "shell/countdown.h"

namespace {

struct MeasuringWrap : WrapColumn {
    MeasuringWrap(TextMeasurer& measurer, int points) : measurer(measurer), points(points) {}
    uint32_t MeasurePrefixes(const char* run, uint32_t length, uint32_t* widths) override
    {
        return measurer.MeasurePrefixes(points, run, length, widths);
    }
    void DrawLine(const char*, uint32_t, uint32_t) override {}

    TextMeasurer& measurer;
    int points;
};

// The closing screen's column measured as its first frame lays it out: the countdown then shows
// its starting value, as wide as it ever gets.
struct MeasuringColumn : ClosingColumn {
    MeasuringColumn(TextMeasurer& measurer, const char* name) : measurer(measurer), name(name) {}
    uint32_t Text(const char* text, int points, int) override
    {
        char* expanded = ExpandPlaceholders(text, CLOSE_COUNTDOWN_SECONDS, name);
        MeasuringWrap wrap(measurer, points);
        const uint32_t height = LayOutWrappedText(expanded, static_cast<uint32_t>(std::strlen(expanded)),
                                                  static_cast<uint32_t>(CLOSING_TEXT_WIDTH), wrap);
        std::free(expanded);
        return height;
    }
    uint32_t Separator(int) override { return SEPARATOR_BLOCK_HEIGHT; }

    TextMeasurer& measurer;
    const char* name;
};

}  // namespace

uint32_t ClosingTextBottom(const char* name, TextMeasurer& measurer)
{
    MeasuringColumn column(measurer, name);
    return StackClosingColumn(column, name);
}
