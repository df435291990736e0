#pragma once
#include <windows.h>

// The wrapper's outer size for its fixed 720 x 540 client area; false when it cannot be computed.
bool ComputeWrapperOuterSize(int* width, int* height);
// Where a window of that outer size stands centred in the desktop work area.
POINT WorkAreaCentre(int width, int height);

// The wrapper at the work-area centre at its fixed size; a minimised wrapper is left alone.
void CenterWrapper();
// The same, but only when the wrapper's size is off.
void EnforceWrapperSize();
