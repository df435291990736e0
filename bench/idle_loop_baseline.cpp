// The least a Win32 program does to stand beside the shell in the benchmarks: the shell's own
// main loop (PeekMessage for its window, then Sleep(15)) with one window and no other work.
//   (nothing)   writes its "start" line and ends
//   hidden      loops until ended, its window hidden
//   shown       loops until ended, its window shown in the desktop's top-left corner
//   watch PID   loops with its window hidden until process PID ends, then shows it, white
//   present     the floor of a shell that shows its whole frame on every due tick: a shown window
//               with a 720 x 540 client, and every 20 ms one whole 32-bit frame copied into it
// Like the demo game, it writes "<ms> start pid=N" to the file MORVESSA_DEMO_JOURNAL names,
// first thing in WinMain, so that both starts are timed the same way.
#include <windows.h>

#include <cstdint>
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

// The frame shown by "present": 32 bits, top-down, as the shell shows its whole frames.
struct WholeFrame {
    BITMAPINFO header = {};
    uint32_t* pixels = new uint32_t[720 * 540];
    DWORD last = timeGetTime();

    WholeFrame()
    {
        header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        header.bmiHeader.biWidth = 720;
        header.bmiHeader.biHeight = -540;
        header.bmiHeader.biPlanes = 1;
        header.bmiHeader.biBitCount = 32;
        header.bmiHeader.biCompression = BI_RGB;
        for (int i = 0; i < 720 * 540; ++i)
            pixels[i] = 0x00336699u + static_cast<uint32_t>(i % 720);
    }
    void ShowWhenDue(HWND window)
    {
        const DWORD now = timeGetTime();
        if (now - last < 20)
            return;
        last += 20 * ((now - last) / 20);
        HDC dc = GetDC(window);
        SetDIBitsToDevice(dc, 0, 0, 720, 540, 0, 0, 0, 540, pixels, &header, DIB_RGB_COLORS);
        ReleaseDC(window, dc);
    }
};

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    WriteStartLine();
    const bool present = std::strcmp(commandLine, "present") == 0;
    const bool shown = present || std::strcmp(commandLine, "shown") == 0;
    HANDLE watched = nullptr;
    if (std::strncmp(commandLine, "watch ", 6) == 0)
        watched = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(std::strtoul(commandLine + 6, nullptr, 10)));
    else if (!shown && std::strcmp(commandLine, "hidden") != 0)
        return 0;
    WholeFrame* frame = present ? new WholeFrame : nullptr;

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "MorvessaIdleLoop";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "MorvessaIdleLoop", "idle loop", WS_POPUP, 0, 0, present ? 720 : 120,
                                  present ? 540 : 90, nullptr, nullptr, instance, nullptr);
    if (shown)
        ShowWindow(window, SW_SHOWNOACTIVATE);

    MSG message;
    for (;;) {
        while (PeekMessageA(&message, window, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(15);
        if (frame != nullptr)
            frame->ShowWhenDue(window);
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
