#include "old_closing_frame.h"

#include <cstdlib>
#include <cstring>

#include "draw/background_picture.h"
#include "draw/gdi_selection.h"
#include "draw/text_layout.h"
#include "shell/closing_screen.h"
#include "shell/screen_controller.h"

namespace {

// A font for one call, as the old way made one for every measurement and drawn run.
HFONT OldFont(int points)
{
    return CreateFontA(-MulDiv(points, 96, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH, "Arial Bold");
}

void OldText(HDC dc, int x, int y, const char* text, uint32_t length, int points)
{
    GdiSelection font(dc, OldFont(points));
    TextOutA(dc, x, y, text, static_cast<int>(length));
}

uint32_t OldWrappedText(HDC dc, const char* text, int points, int y, float countdown, const char* name)
{
    char* expanded = ExpandPlaceholders(text, countdown, name);
    SetBkMode(dc, TRANSPARENT);
    const OldLayout layout = OldLayOut(expanded, static_cast<uint32_t>(std::strlen(expanded)), 230,
                                       [&](const char* run, uint32_t n) { return OldMeasure(dc, run, n, points); });
    for (const OldLine& line : layout.lines)
        OldText(dc, 460, y + static_cast<int>(line.top), expanded + line.start, line.length, points);
    std::free(expanded);
    return layout.height;
}

void OldButton(HDC dc, int left, const char* label)
{
    GdiSelection brush(dc, CreateSolidBrush(RGB(255, 255, 255)));
    RoundRect(dc, left, 472, left + 110, 504, 20, 20);
    const uint32_t length = static_cast<uint32_t>(std::strlen(label));
    const OldExtent extent = OldMeasure(dc, label, length, 10);
    SetBkMode(dc, TRANSPARENT);
    OldText(dc, left + (110 - static_cast<int>(extent.width)) / 2, 472 + (32 - static_cast<int>(extent.height)) / 2,
            label, length, 10);
}

}  // namespace

OldExtent OldMeasure(HDC dc, const char* run, uint32_t length, int points)
{
    GdiSelection font(dc, OldFont(points));
    const DWORD extent = GetTabbedTextExtentA(dc, run, static_cast<int>(length), 0, nullptr);
    return OldExtent{LOWORD(extent), HIWORD(extent)};
}

void DrawOldClosingFrame(HDC dc, const char* name, float countdown)
{
    DrawBackground(dc);
    const int title = static_cast<int>(OldWrappedText(dc, name, 14, 30, countdown, name));
    GdiSelection rule(dc, CreateSolidBrush(RGB(25, 25, 25)));
    Rectangle(dc, 460, 30 + title + 4, 690, 30 + title + 5);
    OldWrappedText(dc, CLOSING_SCREEN_TEXT, 10, 30 + title + 9, countdown, name);
    OldButton(dc, 460, "Play Game");
    OldButton(dc, 587, "Other Games");
    const COLORREF colour = SetTextColor(dc, RGB(195, 195, 195));
    OldText(dc, 450, 510, BUILD_LABEL, 9, 6);
    SetTextColor(dc, colour);
}
