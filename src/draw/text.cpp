#include "draw/text.h"

#include "draw/gdi_selection.h"
#include "draw/text_layout.h"

TextCounters TextWork;

HFONT CreateTextFont(int points)
{
    ++TextWork.fontsCreated;
    return CreateFontA(-MulDiv(points, 96, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH, "Arial Bold");
}

void MeasureText(HDC dc, const char* text, int length, int points, uint32_t* width, uint32_t* height)
{
    ++TextWork.measurements;
    GdiSelection font(dc, CreateTextFont(points));
    const DWORD extent = GetTabbedTextExtentA(dc, text, length, 0, nullptr);
    *width = LOWORD(extent);
    *height = HIWORD(extent);
}

void DrawTextAt(HDC dc, int x, int y, const char* text, int length, int points)
{
    GdiSelection font(dc, CreateTextFont(points));
    POINT at = {x, y};
    LPtoDP(dc, &at, 1);
    TextOutA(dc, at.x, at.y, text, length);
}

uint32_t DrawSeparator(HDC dc, int x, int y, int width)
{
    GdiSelection brush(dc, CreateSolidBrush(RGB(25, 25, 25)));
    Rectangle(dc, x, y + 4, x + width, y + 5);
    return SEPARATOR_BLOCK_HEIGHT;
}
