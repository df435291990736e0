#pragma once
#include <windows.h>

#include <cstdint>

#include "base/byte_buffer.h"

// Word-wrapped text in a column (see LayOutWrappedText), drawn through the kit. Keeps the
// layouts of the last few texts it laid out, so that a text drawn again frame after frame
// is not measured again.
struct TextColumn {
    struct Line {
        uint32_t start;
        uint32_t length;
        uint32_t top;
    };
    struct Layout {
        ByteBuffer text;   // with its terminating zero
        ByteBuffer lines;  // Line records
        int points = 0;
        int width = 0;
        uint32_t height = 0;
        bool kept = false;  // false while empty, or when memory ran short for it
    };
    static const int KEPT = 4;
    Layout layouts[KEPT];
    int next = 0;

    // Draws text at (x, y) in a column `width` wide; returns the height used.
    uint32_t Draw(HDC dc, const char* text, int points, int x, int y, int width);

private:
    const Layout& LayOut(HDC dc, const char* text, int points, int width);
};
