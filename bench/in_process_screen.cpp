#include "in_process_screen.h"

#include <cstdio>
#include <fstream>

#include "draw/background_picture.h"
#include "shell_driver.h"
#include "shell/screen_controller.h"
#include "shell/wrapper_window.h"

std::string ProgramPath()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

double Microseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1e6 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

ScreenController& StartClosingScreenHere(size_t nameLength, const char* className)
{
    const std::string folder = ProgramPath().substr(0, ProgramPath().rfind('\\') + 1);
    std::ofstream(folder + "MAW_002.dat", std::ios::binary) << "Application Name=" << GameName(nameLength) << "\r\n";
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    RECT outer = {0, 0, 720, 540};
    AdjustWindowRectEx(&outer, WRAPPER_STYLE, FALSE, 0);
    WrapperWindow = CreateWindowExA(0, className, "bench", WRAPPER_STYLE | WS_VISIBLE, 0, 0, outer.right - outer.left,
                                    outer.bottom - outer.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ScreenController& controller = ScreenController::Instance();
    controller.clientWidth = 720;
    controller.clientHeight = 540;
    controller.CreateFrameBuffer();
    if (!TheBackground.Load((folder + "testdata\\Background.jpg").c_str()))
        std::printf("(no background picture)\n");
    controller.SetState(&ScreenController::StateClosing);
    return controller;
}
