#include "shell/wrapper_placement.h"

#include "shell/wrapper_window.h"

bool ComputeWrapperOuterSize(int* width, int* height)
{
    RECT outer = {0, 0, CLIENT_WIDTH, CLIENT_HEIGHT};
    const bool computed = AdjustWindowRectEx(&outer, WRAPPER_STYLE, FALSE, 0) != FALSE;
    *width = outer.right - outer.left;
    *height = outer.bottom - outer.top;
    return computed;
}

POINT WorkAreaCentre(int width, int height)
{
    RECT work = {0, 0, 0, 0};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    // Not clamped: a work area smaller than the window puts its corner outside.
    const POINT corner = {work.left + (work.right - work.left - width) / 2,
                          work.top + (work.bottom - work.top - height) / 2};
    return corner;
}

static void MoveToCentre(int width, int height)
{
    const POINT corner = WorkAreaCentre(width, height);
    MoveWindow(WrapperWindow, corner.x, corner.y, width, height, TRUE);
}

void CenterWrapper()
{
    int width = 0;
    int height = 0;
    if (!ComputeWrapperOuterSize(&width, &height) || IsIconic(WrapperWindow))
        return;
    MoveToCentre(width, height);
}

void EnforceWrapperSize()
{
    int width = 0;
    int height = 0;
    RECT current;
    if (!ComputeWrapperOuterSize(&width, &height) || IsIconic(WrapperWindow) ||
        !GetWindowRect(WrapperWindow, &current))
        return;
    // Only the size counts: a wrapper the player dragged elsewhere stays there.
    if (current.right - current.left == width && current.bottom - current.top == height)
        return;
    MoveToCentre(width, height);
}
