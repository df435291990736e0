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
    // The shell's copy to the window is clipped: what lies inside is shown all the same.
    const LONG left = rect.left > 0 ? rect.left : 0;
    const LONG top = rect.top > 0 ? rect.top : 0;
    const LONG right = rect.right < FRAME_WIDTH ? rect.right : FRAME_WIDTH;
    const LONG bottom = rect.bottom < FRAME_HEIGHT ? rect.bottom : FRAME_HEIGHT;
    for (LONG y = top; y < bottom && left < right; ++y)
        std::memset(&covered[size_t(y) * FRAME_WIDTH + left], 1, size_t(right - left));
    if (left != rect.left || top != rect.top || right != rect.right || bottom != rect.bottom)
        return "rectangle " + RectText(rect) + " reaches outside the 720 x 540 frame";
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
