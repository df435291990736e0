#include "draw/text_column.h"

#include <cstring>

#include "draw/frame_composer.h"
#include "draw/text.h"
#include "draw/text_layout.h"

namespace {

// Measures in the kit's fonts and keeps the lines instead of drawing them.
struct MeasuredColumn : WrapColumn {
    HDC dc;
    int points;
    TextColumn::Layout& layout;
    bool complete = true;

    MeasuredColumn(HDC dc, int points, TextColumn::Layout& layout) : dc(dc), points(points), layout(layout) {}
    uint32_t MeasurePrefixes(const char* run, uint32_t length, uint32_t* widths) override
    {
        return MeasureTextPrefixes(dc, run, static_cast<int>(length), points, widths);
    }
    void DrawLine(const char* line, uint32_t length, uint32_t top) override
    {
        const TextColumn::Line kept = {static_cast<uint32_t>(line - layout.text.data), length, top};
        complete = complete && layout.lines.Append(&kept, sizeof(kept));
    }
};

}  // namespace

const TextColumn::Layout& TextColumn::LayOut(HDC dc, const char* text, int points, int width)
{
    const uint32_t size = static_cast<uint32_t>(std::strlen(text)) + 1;
    for (const Layout& layout : layouts) {
        if (layout.kept && layout.points == points && layout.width == width && layout.text.size == size &&
            std::memcmp(layout.text.data, text, size) == 0)
            return layout;
    }
    Layout& layout = layouts[next];
    next = (next + 1) % KEPT;
    layout.kept = false;
    layout.text.size = 0;
    layout.lines.size = 0;
    layout.height = 0;
    if (!layout.text.Append(text, size))
        return layout;
    layout.points = points;
    layout.width = width;
    MeasuredColumn column(dc, points, layout);
    layout.height = LayOutWrappedText(layout.text.data, size - 1, static_cast<uint32_t>(width), column);
    layout.kept = column.complete;
    return layout;
}

uint32_t TextColumn::Draw(HDC dc, const char* text, int points, int x, int y, int width)
{
    SetTransparentText(dc);
    const Layout& layout = LayOut(dc, text, points, width);
    const Line* lines = reinterpret_cast<const Line*>(layout.lines.data);
    for (uint32_t i = 0; i < layout.lines.size / sizeof(Line); ++i) {
        DrawTextAt(dc, x, y + static_cast<int>(lines[i].top), layout.text.data + lines[i].start,
                   static_cast<int>(lines[i].length), points);
    }
    return layout.height;
}
