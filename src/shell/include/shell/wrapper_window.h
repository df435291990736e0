#pragma once
#include <windows.h>

// A title bar with system menu and minimise box; no maximise box, no sizing border.
const DWORD WRAPPER_STYLE = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
const int WRAPPER_CLIENT_WIDTH = 720;
const int WRAPPER_CLIENT_HEIGHT = 540;
extern const char WRAPPER_CLASS_NAME[];

// Null until CreateWindowExA returns; never changes afterwards.
extern HWND WrapperWindow;

LRESULT CALLBACK WrapperWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
