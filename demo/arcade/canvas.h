#pragma once
#include <windows.h>

struct Colour {
    unsigned char r, g, b;
};

// A 24-bit top-down blue-green-red frame that belongs to the caller. Every routine clips to
// width x height, so nothing is written outside the frame or past a row's stride.
struct Canvas {
    unsigned char* pixels;
    unsigned stride;
    int width;
    int height;
    int originX;  // where the layout's (0, 0) lies in the frame
    int originY;

    // The layout rectangle moved into the frame and clipped to it; may come back empty.
    RECT ToFrame(const RECT& layout) const;
    void Fill(const RECT& layout, Colour colour);
    void Border(const RECT& layout, int thickness, Colour colour);
    // Text in the built-in 5 x 7 font, each font pixel `scale` x `scale` frame pixels.
    void Text(int x, int y, const char* text, int scale, Colour colour);
};

int TextWidth(const char* text, int scale);
int TextHeight(int scale);
RECT MakeRect(int left, int top, int right, int bottom);
