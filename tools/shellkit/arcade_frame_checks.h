#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// What one frame's rectangles say against the pixels the frame changed.
struct FrameChecks {
    std::vector<uint8_t> previous;  // the frame before the call
    std::vector<uint8_t> covered;   // a byte per pixel: inside a reported rectangle

    void Before(const uint8_t* pixels);
    // "" or why the shell cannot present the rectangle; a good one is marked covered.
    std::string Take(const RECT& rect);
    // Pixels no rectangle covers.
    long Uncovered() const;
    // Pixels that changed and that no rectangle covers; the first of them in x, y.
    long ChangedOutside(const uint8_t* pixels, int& x, int& y) const;
};

std::string RectText(const RECT& rect);
