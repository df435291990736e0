#include <cstdlib>

#include "draw/text.h"
#include "draw/text_layout.h"
#include "host/game_host.h"
#include "shell/closing_screen.h"
#include "shell/screen_controller.h"

namespace {

// The closing screen's texts drawn into the frame being drawn.
struct DrawingColumn : ClosingColumn {
    DrawingColumn(ScreenController& controller, HDC dc, int x, int width)
        : controller(controller), dc(dc), x(x), width(width)
    {
    }
    uint32_t Text(const char* text, int points, int y) override
    {
        return controller.DrawWrappedText(text, points, dc, x, y, width);
    }
    uint32_t Separator(int y) override { return DrawSeparator(dc, x, y, width); }

    ScreenController& controller;
    HDC dc;
    int x;
    int width;
};

}  // namespace

char* ScreenController::ExpandTemplate(const char* text)
{
    return ExpandPlaceholders(text, closeCountdown, GameHost::Instance().GetApplicationName());
}

uint32_t ScreenController::DrawWrappedText(const char* text, int points, HDC dc, int x, int y, int width)
{
    char* expanded = ExpandTemplate(text);
    const uint32_t height = textColumn.Draw(dc, expanded, points, x, y, width);
    std::free(expanded);
    return height;
}

uint32_t ScreenController::DrawTitleBlock(HDC dc, int x, int y, int width)
{
    DrawingColumn column(*this, dc, x, width);
    return StackTitleBlock(column, GameHost::Instance().GetApplicationName(), y);
}

void ScreenController::DrawClosingText(HDC dc)
{
    DrawingColumn column(*this, dc, CLOSING_TEXT_LEFT, CLOSING_TEXT_WIDTH);
    StackClosingColumn(column, GameHost::Instance().GetApplicationName());
}
