#pragma once
#include <windows.h>

#include <cstdint>

// Running totals, for the drawing benchmark: text is laid out anew on every frame.
struct TextCounters {
    uint32_t fontsCreated;
    uint32_t measurements;
};
extern TextCounters TextWork;

// The one font rule of the shell's text: a new font (the caller selects and deletes it),
// or null when it cannot be created.
HFONT CreateTextFont(int points);

// The first length characters of text in the font for `points` (in the DC's own font when
// that cannot be created); tabs at the default stops.
void MeasureText(HDC dc, const char* text, int length, int points, uint32_t* width, uint32_t* height);

// Draws the first length characters with their top-left corner at logical (x, y), in the
// DC's current text colour and background mode.
void DrawTextAt(HDC dc, int x, int y, const char* text, int length, int points);

// The one-pixel rule under a title, at row y + 4; returns the height of its block.
uint32_t DrawSeparator(HDC dc, int x, int y, int width);
