#include "draw/text.h"

#include <cstring>

#include "draw/frame_composer.h"
#include "draw/gdi_selection.h"
#include "draw/text_layout.h"

TextCounters TextWork;

namespace {

// The kit's one exception to "created and deleted in the same call": a font per point size,
// made once and deleted at exit, since making one per measurement cost most of a frame.
struct FontCache {
    static const int SIZES = 8;
    int points[SIZES] = {};
    HFONT fonts[SIZES] = {};
    int used = 0;

    ~FontCache()
    {
        for (int i = 0; i < used; ++i) {
            if (fonts[i] != nullptr)
                DeleteObject(fonts[i]);
        }
    }
    HFONT Get(int size)
    {
        for (int i = 0; i < used; ++i) {
            if (points[i] == size)
                return fonts[i];
        }
        if (used == SIZES)
            return nullptr;
        // A font that cannot be made is asked for again next time.
        HFONT font = CreateTextFont(size);
        if (font == nullptr)
            return nullptr;
        points[used] = size;
        fonts[used] = font;
        return fonts[used++];
    }
};

FontCache Fonts;

}  // namespace

HFONT CreateTextFont(int points)
{
    ++TextWork.fontsCreated;
    return CreateFontA(-MulDiv(points, 96, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH, "Arial Bold");
}

HFONT TextFont(int points)
{
    return Fonts.Get(points);
}

void MeasureText(HDC frameDC, const char* text, int length, int points, uint32_t* width, uint32_t* height)
{
    ++TextWork.measurements;
    const HDC dc = MeasuringDCOf(frameDC);
    GdiSelection font(dc, TextFont(points), GdiSelection::Borrowed);
    const DWORD extent = GetTabbedTextExtentA(dc, text, length, 0, nullptr);
    *width = LOWORD(extent);
    *height = HIWORD(extent);
}

uint32_t MeasureTextPrefixes(HDC frameDC, const char* text, int length, int points, uint32_t* widths)
{
    const HDC dc = MeasuringDCOf(frameDC);
    // Only the tabbed query expands tabs; a run that holds one is measured prefix by prefix.
    if (std::memchr(text, '\t', static_cast<size_t>(length)) != nullptr) {
        uint32_t height = 0;
        for (int i = 0; i < length; ++i)
            MeasureText(dc, text, i + 1, points, &widths[i], &height);
        return height;
    }
    ++TextWork.measurements;
    GdiSelection font(dc, TextFont(points), GdiSelection::Borrowed);
    SIZE extent = {0, 0};
    GetTextExtentExPointA(dc, text, length, 0, nullptr, reinterpret_cast<INT*>(widths), &extent);
    // Cut to 16 bits, as the tabbed query's answer is.
    for (int i = 0; i < length; ++i)
        widths[i] &= 0xFFFF;
    return static_cast<uint32_t>(extent.cy) & 0xFFFF;
}

void DrawTextAt(HDC dc, int x, int y, const char* text, int length, int points)
{
    if (FrameComposer* composer = ComposerOf(dc)) {
        const int32_t values[] = {x, y, points};
        composer->Note(FrameComposer::OP_TEXT, values, 3, text, length);
        return;
    }
    GdiSelection font(dc, TextFont(points), GdiSelection::Borrowed);
    POINT at = {x, y};
    LPtoDP(dc, &at, 1);
    TextOutA(dc, at.x, at.y, text, length);
}

uint32_t DrawSeparator(HDC dc, int x, int y, int width)
{
    if (FrameComposer* composer = ComposerOf(dc)) {
        const int32_t values[] = {x, y, width};
        composer->Note(FrameComposer::OP_SEPARATOR, values, 3);
        return SEPARATOR_BLOCK_HEIGHT;
    }
    GdiSelection brush(dc, CreateSolidBrush(RGB(25, 25, 25)));
    Rectangle(dc, x, y + 4, x + width, y + 5);
    return SEPARATOR_BLOCK_HEIGHT;
}
