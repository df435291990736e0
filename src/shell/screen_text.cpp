#include <cstdlib>

#include "draw/text.h"
#include "draw/text_layout.h"
#include "host/game_host.h"
#include "shell/closing_screen.h"
#include "shell/screen_controller.h"

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
    const uint32_t height = DrawWrappedText(GameHost::Instance().GetApplicationName(), CLOSING_TITLE_POINTS, dc, x, y, width);
    return height + DrawSeparator(dc, x, y + static_cast<int>(height), width);
}
