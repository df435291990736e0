#include "main_windows.h"

#include "journal.h"
#include "target_game.h"

#include <windowsx.h>

#include <string>

namespace {

const DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
const UINT_PTR kTargetTimer = 1;
const UINT_PTR kLaterWindowsTimer = 2;

struct WindowState {
    TargetGame game;
    // Set only by our own DestroyWindow, to tell a real destruction from a WM_DESTROY someone sent.
    bool destroying = false;
};

WindowState* stateOf(HWND hwnd)
{
    return reinterpret_cast<WindowState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

}  // namespace

const char* const MainWindows::kClassName = "MorvessaDemoGame";

MainWindows& mainWindows()
{
    static MainWindows instance;
    return instance;
}

SIZE outerWindowSize(DWORD style, int width, int height)
{
    RECT rect = {0, 0, width, height};
    AdjustWindowRectEx(&rect, style, FALSE, 0);
    SIZE size = {rect.right - rect.left, rect.bottom - rect.top};
    return size;
}

bool MainWindows::registerClass(HINSTANCE instance)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS));
    wc.lpszClassName = kClassName;
    return RegisterClassExA(&wc) != 0;
}

bool MainWindows::open(HINSTANCE instance, const DemoBehaviour& behaviour)
{
    instance_ = instance;
    behaviour_ = behaviour;
    HWND first = create(1);
    if (!first)
        return false;
    if (behaviour_.windows > 1 && behaviour_.laterWindowsMs > 0)
        SetTimer(first, kLaterWindowsTimer, behaviour_.laterWindowsMs, nullptr);
    else
        createRest();
    return true;
}

HWND MainWindows::create(unsigned number)
{
    std::string title = "Demo Game";
    if (number > 1)
        title += " " + std::to_string(number);
    SIZE size = outerWindowSize(kStyle, TargetGame::kWidth, TargetGame::kHeight);
    HWND hwnd = CreateWindowExA(0, kClassName, title.c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT, size.cx,
                                size.cy, nullptr, nullptr, instance_, nullptr);
    if (!hwnd)
        return nullptr;
    ++live_;
    ShowWindow(hwnd, behaviour_.activate ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd);
    return hwnd;
}

void MainWindows::createRest()
{
    for (unsigned number = 2; number <= behaviour_.windows; ++number)
        create(number);
}

void MainWindows::destroy(HWND hwnd)
{
    WindowState* state = stateOf(hwnd);
    if (state)
        state->destroying = true;
    DestroyWindow(hwnd);
}

LRESULT CALLBACK MainWindows::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        const CREATESTRUCTA* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        journal().windowCreated(hwnd, "main", create->lpszName);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new WindowState));
    }
    journal().message(hwnd, msg, wParam, lParam);
    return mainWindows().handle(hwnd, msg, wParam, lParam);
}

LRESULT MainWindows::handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    WindowState* state = stateOf(hwnd);
    if (!state)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        state->game.paint(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
        // The first target waits for the player; from the first hit on, targets jump away when missed.
        if (state->game.click(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)))
            SetTimer(hwnd, kTargetTimer, TargetGame::kTargetLifeMs, nullptr);
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_TIMER:
        if (wParam == kTargetTimer) {
            state->game.expire();
            InvalidateRect(hwnd, nullptr, FALSE);
        } else if (wParam == kLaterWindowsTimer) {
            KillTimer(hwnd, kLaterWindowsTimer);
            createRest();
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            destroy(hwnd);
            return 0;
        }
        break;
    case WM_CLOSE:
        if (!behaviour_.ignoreClose)
            destroy(hwnd);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE && behaviour_.ignoreSysCommand)
            return 0;
        break;
    case WM_QUIT:
        if (!behaviour_.ignoreQuit)
            PostQuitMessage(0);
        return 0;
    case WM_DESTROY:
        if (state->destroying) {
            KillTimer(hwnd, kTargetTimer);
            KillTimer(hwnd, kLaterWindowsTimer);
            if (--live_ == 0)
                PostQuitMessage(0);
        } else if (!behaviour_.ignoreDestroy) {
            PostQuitMessage(0);
        }
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        delete state;
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
