// The least a Win32 program does to stand beside the shell in the benchmarks: the shell's own
// main loop (PeekMessage for its window, then Sleep(15)) with one window and no other work.
//   (nothing)   writes its "start" line and ends
//   hidden      loops until ended, its window hidden
//   shown       loops until ended, its window shown in the desktop's top-left corner
//   watch PID   loops with its window hidden until process PID ends, then shows it, white
// Like the demo game, it writes "<ms> start pid=N" to the file MORVESSA_DEMO_JOURNAL names,
// first thing in WinMain, so that both starts are timed the same way.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

static void WriteStartLine()
{
    char path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("MORVESSA_DEMO_JOURNAL", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    char line[64];
    const int size = std::snprintf(line, sizeof(line), "0 start pid=%lu\n", GetCurrentProcessId());
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(file);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    WriteStartLine();
    const bool shown = std::strcmp(commandLine, "shown") == 0;
    HANDLE watched = nullptr;
    if (std::strncmp(commandLine, "watch ", 6) == 0)
        watched = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(std::strtoul(commandLine + 6, nullptr, 10)));
    else if (!shown && std::strcmp(commandLine, "hidden") != 0)
        return 0;

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "MorvessaIdleLoop";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "MorvessaIdleLoop", "idle loop", WS_POPUP, 0, 0, 120, 90, nullptr, nullptr,
                                  instance, nullptr);
    if (shown)
        ShowWindow(window, SW_SHOWNOACTIVATE);

    MSG message;
    for (;;) {
        while (PeekMessageA(&message, window, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(15);
        if (watched != nullptr && WaitForSingleObject(watched, 0) == WAIT_OBJECT_0) {
            CloseHandle(watched);
            watched = nullptr;
            // As the shell brings its window back.
            ShowWindow(window, SW_SHOWNORMAL);
            SetForegroundWindow(window);
            BringWindowToTop(window);
        }
    }
}
