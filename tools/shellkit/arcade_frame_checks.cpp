#include "arcade_frame_checks.h"

#include <cstring>

#include "arcade_frame_buffer.h"

std::string RectText(const RECT& rect)
{
    return "(" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ", " + std::to_string(rect.right) +
           ", " + std::to_string(rect.bottom) + ")";
}

void FrameChecks::Before(const uint8_t* pixels)
{
    previous.assign(pixels, pixels + FRAME_BYTES);
    covered.assign(size_t(FRAME_WIDTH) * FRAME_HEIGHT, 0);
}

std::string FrameChecks::Take(const RECT& rect)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return "rectangle " + RectText(rect) + " is empty or inverted (right and bottom are exclusive)";
    if (rect.left < 0 || rect.top < 0 || rect.right > FRAME_WIDTH || rect.bottom > FRAME_HEIGHT)
        return "rectangle " + RectText(rect) + " reaches outside the 720 x 540 frame";
    for (LONG y = rect.top; y < rect.bottom; ++y)
        std::memset(&covered[size_t(y) * FRAME_WIDTH + rect.left], 1, size_t(rect.right - rect.left));
    return "";
}

long FrameChecks::Uncovered() const
{
    long count = 0;
    for (uint8_t mark : covered)
        count += mark == 0;
    return count;
}

long FrameChecks::ChangedOutside(const uint8_t* pixels, int& x, int& y) const
{
    long count = 0;
    for (int row = 0; row < FRAME_HEIGHT; ++row) {
        const uint8_t* now = pixels + size_t(row) * FRAME_STRIDE;
        const uint8_t* before = previous.data() + size_t(row) * FRAME_STRIDE;
        if (std::memcmp(now, before, FRAME_STRIDE) == 0)
            continue;
        const uint8_t* marks = &covered[size_t(row) * FRAME_WIDTH];
        for (int column = 0; column < FRAME_WIDTH; ++column) {
            if (marks[column] || std::memcmp(now + column * 3, before + column * 3, 3) == 0)
                continue;
            if (count++ == 0) {
                x = column;
                y = row;
            }
        }
    }
    return count;
}
