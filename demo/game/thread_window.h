#pragma once

#include <windows.h>

// Starts a second thread that owns a window of its own, and returns once that window is shown.
bool startThreadWindow(HINSTANCE instance, bool activate);
