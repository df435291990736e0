#include "canvas.h"

RECT MakeRect(int left, int top, int right, int bottom)
{
    RECT rect = {left, top, right, bottom};
    return rect;
}

RECT Canvas::ToFrame(const RECT& layout) const
{
    RECT r = MakeRect(layout.left + originX, layout.top + originY, layout.right + originX, layout.bottom + originY);
    if (r.left < 0)
        r.left = 0;
    if (r.top < 0)
        r.top = 0;
    if (r.right > width)
        r.right = width;
    if (r.bottom > height)
        r.bottom = height;
    if (r.right <= r.left || r.bottom <= r.top)
        r = MakeRect(0, 0, 0, 0);
    return r;
}

void Canvas::Fill(const RECT& layout, Colour colour)
{
    const RECT r = ToFrame(layout);
    for (int y = r.top; y < r.bottom; ++y) {
        unsigned char* at = pixels + static_cast<size_t>(y) * stride + static_cast<size_t>(r.left) * 3;
        for (int x = r.left; x < r.right; ++x) {
            at[0] = colour.b;
            at[1] = colour.g;
            at[2] = colour.r;
            at += 3;
        }
    }
}

void Canvas::Border(const RECT& layout, int thickness, Colour colour)
{
    const RECT& o = layout;
    Fill(MakeRect(o.left, o.top, o.right, o.top + thickness), colour);
    Fill(MakeRect(o.left, o.bottom - thickness, o.right, o.bottom), colour);
    Fill(MakeRect(o.left, o.top + thickness, o.left + thickness, o.bottom - thickness), colour);
    Fill(MakeRect(o.right - thickness, o.top + thickness, o.right, o.bottom - thickness), colour);
}
