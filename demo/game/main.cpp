#include "behaviour.h"
#include "journal.h"
#include "main_windows.h"
#include "thread_window.h"

#include <windows.h>
#include <imm.h>

#include <string>
#include <vector>

namespace {

DWORD gStartTick = 0;
DemoBehaviour gBehaviour;

std::string environmentVariable(const char* name, bool& present)
{
    DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    present = size != 0;
    if (!present)
        return std::string();
    std::vector<char> buffer(size);
    DWORD length = GetEnvironmentVariableA(name, buffer.data(), size);
    return std::string(buffer.data(), length < size ? length : 0);
}

DWORD WINAPI exitAfterMain(LPVOID)
{
    // Sleep may end a tick early under Wine: the journal must never show the exit before the time asked for.
    DWORD elapsed = 0;
    while ((elapsed = GetTickCount() - gStartTick) < gBehaviour.exitAfterMs)
        Sleep(gBehaviour.exitAfterMs - elapsed);
    journal().finish("exit code=" + std::to_string(gBehaviour.exitCode));
    ExitProcess(gBehaviour.exitCode);
}

void sleepForever()
{
    for (;;)
        Sleep(INFINITE);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    gStartTick = GetTickCount();
    // Otherwise every GUI thread also owns a hidden IME window that EnumThreadWindows reports.
    ImmDisableIME(static_cast<DWORD>(-1));

    bool present = false;
    std::string journalPath = environmentVariable("MORVESSA_DEMO_JOURNAL", present);
    journal().open(present ? journalPath.c_str() : nullptr, gStartTick);
    journal().write("start pid=" + std::to_string(GetCurrentProcessId()) + " cmdline=" + GetCommandLineA());

    std::string options = environmentVariable("MORVESSA_DEMO_GAME", present);
    gBehaviour = parseDemoBehaviour(present ? options.c_str() : nullptr);

    if (gBehaviour.exitAfter) {
        HANDLE thread = CreateThread(nullptr, 0, exitAfterMain, nullptr, 0, nullptr);
        if (thread)
            CloseHandle(thread);
    }
    if (gBehaviour.threadWindow)
        startThreadWindow(instance, gBehaviour.activate);
    if (gBehaviour.windows == 0)
        sleepForever();

    if (!mainWindows().registerClass(instance) || !mainWindows().open(instance, gBehaviour)) {
        journal().finish("exit code=1");
        return 1;
    }
    if (gBehaviour.hang)
        sleepForever();

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    journal().finish("exit code=0");
    return 0;
}
