#include "host/game_host.h"

GrowArray GameWindowList;
static uint32_t enumerationPass;
static bool windowFoundThisPass;

HWND GameHost::FindGameWindow()
{
    ++enumerationPass;
    windowFoundThisPass = false;
    // A game that has ended resets the record here, which empties the list.
    IsGameRunning();
    if (processInfo.dwThreadId == 0)
        return gameWindow;
    // Only the main thread's windows count: a game's helper threads may own windows of their own.
    EnumThreadWindows(processInfo.dwThreadId, GameWindowEnumProc, static_cast<LPARAM>(enumerationPass));
    return gameWindow;
}

BOOL CALLBACK GameHost::GameWindowEnumProc(HWND window, LPARAM pass)
{
    if (static_cast<uint32_t>(pass) != enumerationPass)
        return FALSE;
    if (window != nullptr && !windowFoundThisPass) {
        windowFoundThisPass = true;
        Instance().gameWindow = window;
    }
    if (GameWindowList.IndexOf(window) == GrowArray::kNoIndex)
        GameWindowList.Append(window);
    return TRUE;
}

bool GameHost::IsGameInForeground()
{
    FindGameWindow();
    HWND foreground = GetForegroundWindow();
    return foreground != nullptr && GameWindowList.IndexOf(foreground) != GrowArray::kNoIndex;
}
