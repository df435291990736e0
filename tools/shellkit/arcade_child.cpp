// The child process that drives the DLL. Everything the DLL can do to a process it does here:
// a fault, a box, a hang or an exit ends this child, never the parent that reports it.
#include <windows.h>

#include <cstdio>
#include <map>

#include "arcade/ma_module_state.h"
#include "arcade_child.h"
#include "arcade_driver.h"
#include "arcade_update.h"
#include "file_system.h"

namespace {

ArcadeDriver* activeDriver = nullptr;

void Crashed(const std::string& text)
{
    ArcadeProbe* probe = activeDriver->probe;
    std::snprintf(probe->crash, sizeof(probe->crash), "%s: %s", probe->Where().c_str(), text.c_str());
    TerminateProcess(GetCurrentProcess(), 1);
}

std::string Hex(ULONG_PTR value)
{
    char text[32];
    std::snprintf(text, sizeof(text), "0x%0*llX", int(sizeof(void*) * 2), static_cast<unsigned long long>(value));
    return text;
}

// First in line, ahead of any handler of the DLL's own: a touch of a guard page is the DLL's
// fault whoever would catch it.
LONG CALLBACK GuardHandler(EXCEPTION_POINTERS* pointers)
{
    const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
    if (record->ExceptionCode != EXCEPTION_ACCESS_VIOLATION || record->NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    const std::string what =
        activeDriver->frame.Describe(record->ExceptionInformation[1], record->ExceptionInformation[0] == 1);
    if (!what.empty())
        Crashed(what);
    return EXCEPTION_CONTINUE_SEARCH;
}

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* pointers)
{
    const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
    char code[16];
    std::snprintf(code, sizeof(code), "0x%08lX", static_cast<unsigned long>(record->ExceptionCode));
    std::string text = std::string("crashed with exception ") + code;
    if (record->ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record->NumberParameters >= 2)
        text += std::string(" (access violation ") + (record->ExceptionInformation[0] == 1 ? "writing " : "reading ") +
                Hex(record->ExceptionInformation[1]) + ")";
    Crashed(text + " at " + Hex(reinterpret_cast<ULONG_PTR>(record->ExceptionAddress)) +
            ": the shell's process ends with it");
    return EXCEPTION_CONTINUE_SEARCH;
}

// A box stops the shell until the player answers; here it is read, reported and answered.
LRESULT CALLBACK BoxHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        char className[16] = "";
        GetClassNameA(box, className, sizeof(className));
        if (std::string(className) == "#32770") {
            char caption[256] = "";
            char text[1024] = "";
            GetWindowTextA(box, caption, sizeof(caption));
            GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
            activeDriver->out.Error(activeDriver->probe->Where() + ": a box \"" + std::string(caption) + "\" came up (" +
                                    text + "): it stops the shell until the player answers it");
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // As the shell's window does: every message goes to the arcade layer first.
    if (activeDriver != nullptr && activeDriver->linked && activeDriver->probe->inCall == 0) {
        activeDriver->Begin("madll_HandleWindowsMessage");
        const bool consumed = MA_HandleWindowsMessage(window, message, wParam, lParam);
        activeDriver->End();
        if (consumed)
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateFrameWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ShellkitArcadeFrame";
    RegisterClassA(&windowClass);
    RECT outer = {0, 0, FRAME_WIDTH, FRAME_HEIGHT};
    AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
    return CreateWindowA("ShellkitArcadeFrame", "shellkit arcade", WS_OVERLAPPEDWINDOW, 0, 0,
                         outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, windowClass.hInstance,
                         nullptr);
}

// The plain files of a folder with their sizes and times.
std::map<std::string, std::pair<ULONGLONG, ULONGLONG>> FilesIn(const std::string& folder)
{
    std::map<std::string, std::pair<ULONGLONG, ULONGLONG>> files;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(JoinPath(folder, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return files;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const ULONGLONG size = (ULONGLONG(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        const ULONGLONG time = (ULONGLONG(found.ftLastWriteTime.dwHighDateTime) << 32) |
                               found.ftLastWriteTime.dwLowDateTime;
        files[found.cFileName] = {size, time};
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return files;
}

}  // namespace

int RunArcadeChild(const ArcadeRunSettings& settings, const std::string& shown, ArcadeProbe* probe)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    static ArcadeDriver driver;
    driver.settings = settings;
    driver.probe = probe;
    driver.out.probe = probe;
    driver.out.shown = shown;
    driver.pictures.folder = settings.pictures;
    if (!settings.pictures.empty())
        MakeFolder(settings.pictures);
    activeDriver = &driver;
    AddVectoredExceptionHandler(1, GuardHandler);
    SetUnhandledExceptionFilter(CrashFilter);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    HHOOK hook = SetWindowsHookExA(WH_CBT, BoxHook, nullptr, GetCurrentThreadId());
    driver.window = CreateFrameWindow();
    if (!driver.frame.Create()) {
        driver.out.Error("no memory for the frame");
        return 1;
    }
    // Where the shell runs: its working directory is the folder above the arcade folder.
    const std::string gameFolder = ContainingFolder(settings.folder);
    const auto before = FilesIn(gameFolder);

    driver.Run();

    if (!driver.pictures.Finish())
        driver.out.Error(std::to_string(driver.pictures.failed) + " picture(s) could not be written to " +
                         settings.pictures);
    for (const auto& file : FilesIn(gameFolder)) {
        const auto old = before.find(file.first);
        if (old == before.end() || old->second != file.second)
            driver.out.Error("wrote \"" + file.first + "\" in " + gameFolder +
                             ", outside its own folder: an installed game's folder may not be writable, and the "
                             "file is left behind at uninstall");
    }
    DestroyWindow(driver.window);
    UnhookWindowsHookEx(hook);
    activeDriver = nullptr;
    probe->finished = 1;
    return 0;
}
