#include <windows.h>

#include "arcade/ma_api.h"
#include "host/app_identity.h"
#include "host/game_host.h"
#include "shell/screen_controller.h"
#include "shell/wrapper_placement.h"
#include "shell/wrapper_window.h"

static const char kRunningMutexName[] = "MorvessaWrapperRunningMutex";

static_assert(sizeof(WNDCLASSEXA) == (sizeof(void*) == 4 ? 48 : 80), "the record RegisterClassExA reads");

static void RegisterWrapperClass(HINSTANCE instance)
{
    WNDCLASSEXA windowClass;
    ZeroMemory(&windowClass, sizeof(windowClass));
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_VREDRAW | CS_HREDRAW;
    windowClass.lpfnWndProc = WrapperWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, "MAINICON");
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    windowClass.lpszClassName = WRAPPER_CLASS_NAME;
    windowClass.hIconSm = LoadIconA(instance, "MAINICON");
    RegisterClassExA(&windowClass);
}

static void ShowLastErrorText()
{
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   GetLastError(), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text), 0,
                   nullptr);
    MessageBoxA(nullptr, text, "Error", MB_ICONINFORMATION);
    LocalFree(text);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    HANDLE other = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kRunningMutexName);
    if (other != nullptr) {
        CloseHandle(other);
        MessageBoxA(nullptr,
                    "You currently have another game running.\n\nIf you wish to run this one, please close the other "
                    "one first.",
                    "Game Already Running", MB_OK);
        return -1;
    }
    // Never closed: the mutex lives exactly as long as this process.
    CreateMutexA(nullptr, FALSE, kRunningMutexName);

    MSG message;
    ZeroMemory(&message, sizeof(message));
    RegisterWrapperClass(instance);

    // The first lookup builds the GameHost, which reads the settings or ends the process.
    GameHost& host = GameHost::Instance();
    // Before any window: the taskbar then groups the shell with its shortcut from the start.
    AppIdentity::Instance().ClaimForProcess();
    if (MA_Initialize(host.GetApplicationId(), host.GetApplicationName(), host.GetDeveloperChannelId(), 0) != 0) {
        MessageBoxA(nullptr, "There was an error initializing the application. It will now exit.",
                    "Application Error", MB_OK);
        return 0;
    }

    int width = 0;
    int height = 0;
    if (!ComputeWrapperOuterSize(&width, &height))
        ShowLastErrorText();
    const POINT corner = WorkAreaCentre(width, height);

    WrapperWindow = CreateWindowExA(0, WRAPPER_CLASS_NAME, host.GetApplicationName(), WRAPPER_STYLE, corner.x, corner.y,
                                    width, height, nullptr, nullptr, instance, nullptr);
    if (WrapperWindow == nullptr)
        return 0;
    ShowWindow(WrapperWindow, showCommand);
    UpdateWindow(WrapperWindow);

    ScreenController& controller = ScreenController::Instance();
    controller.Initialize();
    // Filtered to the wrapper: thread messages (WM_QUIT included) are never read, so only
    // quitRequested ends the loop.
    while (!controller.quitRequested) {
        while (PeekMessageA(&message, WrapperWindow, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(15);
        controller.Tick();
    }
    controller.Shutdown();
    return static_cast<int>(message.wParam);
}
