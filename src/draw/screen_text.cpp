#include <cstdlib>
#include <cstring>

#include "draw/text.h"
#include "draw/text_layout.h"
#include "host/game_host.h"
#include "shell/screen_controller.h"

namespace {

struct GdiColumn : WrapColumn {
    GdiColumn(HDC dc, int points, int x, int y) : dc(dc), points(points), x(x), y(y) {}

    TextExtent Measure(const char* run, uint32_t length) override
    {
        TextExtent extent = {0, 0};
        MeasureText(dc, run, static_cast<int>(length), points, &extent.width, &extent.height);
        return extent;
    }
    void DrawLine(const char* line, uint32_t length, uint32_t top) override
    {
        DrawTextAt(dc, x, y + static_cast<int>(top), line, static_cast<int>(length), points);
    }

    HDC dc;
    int points;
    int x;
    int y;
};

} // namespace

char* ScreenController::ExpandTemplate(const char* text)
{
    return ExpandPlaceholders(text, closeCountdown, GameHost::Instance().GetApplicationName());
}

uint32_t ScreenController::DrawWrappedText(const char* text, int points, HDC dc, int x, int y, int width)
{
    char* expanded = ExpandTemplate(text);
    SetBkMode(dc, TRANSPARENT);
    GdiColumn column(dc, points, x, y);
    const uint32_t height = LayOutWrappedText(expanded, static_cast<uint32_t>(std::strlen(expanded)),
                                              static_cast<uint32_t>(width), column);
    std::free(expanded);
    return height;
}

uint32_t ScreenController::DrawTitleBlock(HDC dc, int x, int y, int width)
{
    const uint32_t height = DrawWrappedText(GameHost::Instance().GetApplicationName(), 14, dc, x, y, width);
    return height + DrawSeparator(dc, x, y + static_cast<int>(height), width);
}
