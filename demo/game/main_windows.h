#pragma once

#include "behaviour.h"

#include <windows.h>

// The game windows of the main thread and the way they answer (or refuse) the requests to close.
struct MainWindows {
    static const char* const kClassName;

    bool registerClass(HINSTANCE instance);
    // Shows the first window and schedules or shows the others; false when no window could be made.
    bool open(HINSTANCE instance, const DemoBehaviour& behaviour);

    MainWindows() = default;
    MainWindows(const MainWindows&) = delete;
    MainWindows& operator=(const MainWindows&) = delete;

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND create(unsigned number);
    void createRest();
    void destroy(HWND hwnd);
    LRESULT handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance_ = nullptr;
    DemoBehaviour behaviour_;
    unsigned live_ = 0;
};

MainWindows& mainWindows();

// Outer size of a window whose client area is width x height.
SIZE outerWindowSize(DWORD style, int width, int height);
