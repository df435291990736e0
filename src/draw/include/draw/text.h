#pragma once
#include <windows.h>

#include <cstdint>

// Running totals, for the drawing benchmark.
struct TextCounters {
    uint32_t fontsCreated;
    uint32_t measurements;
};
extern TextCounters TextWork;

// The one font rule of the shell's text: a new font (the caller selects and deletes it),
// or null when it cannot be created.
HFONT CreateTextFont(int points);

// The font for `points`, made on first use and kept until the process exits; null when it
// cannot be made. Not the caller's to delete.
HFONT TextFont(int points);

// The first length characters of text in the font for `points` (in the DC's own font when
// that cannot be created); tabs at the default stops.
void MeasureText(HDC dc, const char* text, int length, int points, uint32_t* width, uint32_t* height);

// widths[i] = the width MeasureText gives the first i + 1 characters, for every i below
// length, in one query when the run holds no tab; returns the height MeasureText gives.
uint32_t MeasureTextPrefixes(HDC dc, const char* text, int length, int points, uint32_t* widths);

// Draws the first length characters with their top-left corner at logical (x, y), in the
// DC's current text colour and background mode.
void DrawTextAt(HDC dc, int x, int y, const char* text, int length, int points);

// The one-pixel rule under a title, at row y + 4; returns the height of its block.
uint32_t DrawSeparator(HDC dc, int x, int y, int width);
