#pragma once
#include <cstdint>
#include <functional>
#include <vector>

// The line breaking the shell used to do, kept as the reference the new one must agree with:
// every shorter candidate of a line measured again until one fits and ends after a space.
struct OldExtent {
    uint32_t width;
    uint32_t height;
};
struct OldLine {
    uint32_t start;
    uint32_t length;
    uint32_t top;
    bool operator==(const OldLine& other) const
    {
        return start == other.start && length == other.length && top == other.top;
    }
};
struct OldLayout {
    std::vector<OldLine> lines;
    uint32_t height = 0;
};
OldLayout OldLayOut(const char* text, uint32_t length, uint32_t width,
                    const std::function<OldExtent(const char* run, uint32_t length)>& measure);
