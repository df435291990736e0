#pragma once
#include <windows.h>
#include <ocidl.h>

// The decoded "Background.jpg" that every normal frame starts with. Owns one reference to
// the picture; sizes are in HIMETRIC units (hundredths of a millimetre) unless named pixels.
struct BackgroundPicture {
    IPicture* picture = nullptr;

    BackgroundPicture() = default;
    ~BackgroundPicture();
    BackgroundPicture(const BackgroundPicture&) = delete;
    BackgroundPicture& operator=(const BackgroundPicture&) = delete;

    bool Load(const char* path);
    bool LoadFromStream(IStream* stream);
    void GetHimetricSize(LONG* width, LONG* height) const;
    // In the logical units of dc, or of the screen when dc is null; (0, 0) without a picture.
    SIZE GetSizeInPixels(HDC dc) const;
    // An empty rect (right = left, bottom = top) is first widened to the natural size.
    bool Render(HDC dc, RECT* rect, const RECT* bounds) const;
};

// Constant-initialised, so it exists before any start-up code runs.
extern BackgroundPicture TheBackground;

void HimetricToPixels(HDC dc, SIZE* size);
// The held picture at its natural size at (0, 0); nothing without a picture.
void DrawBackground(HDC dc);
