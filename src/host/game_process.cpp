#include "host/game_host.h"

void GameHost::ResetProcessRecord()
{
    GameWindowList.count = 0;
    // Nobody reads a dropped game's handles again, so they are closed rather than leaked.
    if (processInfo.hThread != nullptr)
        CloseHandle(processInfo.hThread);
    if (processInfo.hProcess != nullptr)
        CloseHandle(processInfo.hProcess);
    ZeroMemory(&processInfo, sizeof(processInfo));
    gameWindow = nullptr;
}

void GameHost::LaunchGame()
{
    ResetProcessRecord();
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    // A failed start is not reported: the empty record reads as a game that has ended.
    if (!CreateProcessA(gameImagePath, nullptr, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                        &startup, &processInfo))
        ZeroMemory(&processInfo, sizeof(processInfo));
    ResumeThread(processInfo.hThread);
}

bool GameHost::IsGameRunning()
{
    if (processInfo.hProcess == nullptr)
        return false;
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(processInfo.hProcess, &exitCode))
        return true;
    if (exitCode == STILL_ACTIVE)
        return true;
    ResetProcessRecord();
    return false;
}

void GameHost::WaitWhileRunning(uint32_t ms)
{
    for (uint32_t steps = ms / 10;; --steps) {
        if (!IsGameRunning() || steps == 0)
            return;
        Sleep(10);
    }
}

namespace {
struct CloseStep {
    UINT message;
    WPARAM wParam;
    uint32_t waitMs;
};

// Politest first; each later step only while the game still runs.
const CloseStep kCloseSteps[] = {
    {WM_CLOSE, 0, 2000},
    {WM_SYSCOMMAND, SC_CLOSE, 1000},
    {WM_QUIT, 0, 1000},
    {WM_DESTROY, 0, 1000},
};
}  // namespace

void GameHost::CloseGame()
{
    for (size_t i = 0; i < sizeof(kCloseSteps) / sizeof(kCloseSteps[0]); ++i) {
        if (i > 0 && !IsGameRunning())
            break;
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(FindGameWindow(), kCloseSteps[i].message, kCloseSteps[i].wParam, 0, SMTO_ABORTIFHUNG, 500,
                            &ignored);
        WaitWhileRunning(kCloseSteps[i].waitMs);
    }
    // Still held: the game was never seen to end (or its exit code could not be read).
    if (processInfo.hProcess != nullptr)
        TerminateProcess(processInfo.hProcess, 0xFFFFFFFF);
}
