#include "thread_window.h"

#include "journal.h"
#include "main_windows.h"

namespace {

const char* const kClassName = "MorvessaDemoGameThread";
const char* const kTitle = "Demo Game Thread Window";

struct ThreadStart {
    HINSTANCE instance;
    bool activate;
    HANDLE shown;
};

LRESULT CALLBACK threadWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE)
        journal().windowCreated(hwnd, "other", reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpszName);
    journal().message(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT client;
        GetClientRect(hwnd, &client);
        HBRUSH brush = CreateSolidBrush(RGB(60, 40, 90));
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(240, 230, 255));
        DrawTextA(dc, "Helper thread", -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

DWORD WINAPI threadWindowMain(LPVOID parameter)
{
    ThreadStart start = *static_cast<ThreadStart*>(parameter);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    SIZE size = outerWindowSize(style, 360, 120);
    HWND hwnd = CreateWindowExA(0, kClassName, kTitle, style, 660, 40, size.cx, size.cy,
                                nullptr, nullptr, start.instance, nullptr);
    if (hwnd) {
        ShowWindow(hwnd, start.activate ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE);
        UpdateWindow(hwnd);
    }
    SetEvent(start.shown);
    if (!hwnd)
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

}  // namespace

bool startThreadWindow(HINSTANCE instance, bool activate)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = threadWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = kClassName;
    if (!RegisterClassExA(&wc))
        return false;
    ThreadStart start = {instance, activate, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    if (!start.shown)
        return false;
    HANDLE thread = CreateThread(nullptr, 0, threadWindowMain, &start, 0, nullptr);
    if (thread) {
        // The thread copies its start block first; waiting also keeps the window order fixed for tests.
        WaitForSingleObject(start.shown, 10000);
        CloseHandle(thread);
    }
    CloseHandle(start.shown);
    return thread != nullptr;
}
