#pragma once
#include <windows.h>

#include "host/game_folder.h"

// A title bar with system menu and minimise box; no maximise box, no sizing border.
const DWORD WRAPPER_STYLE = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
extern const char WRAPPER_CLASS_NAME[];

// Null until CreateWindowExA returns; never changes afterwards.
extern HWND WrapperWindow;

LRESULT CALLBACK WrapperWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
