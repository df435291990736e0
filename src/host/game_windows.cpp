#include "host/game_host.h"

#include "host/app_identity.h"

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
    // Once per window: the list keeps every window of the game until it ends.
    if (GameWindowList.IndexOf(window) == GrowArray::kNoIndex) {
        GameWindowList.Append(window);
        AppIdentity::Instance().LabelWindow(window);
    }
    return TRUE;
}

bool GameHost::IsGameInForeground()
{
    FindGameWindow();
    HWND foreground = GetForegroundWindow();
    return foreground != nullptr && GameWindowList.IndexOf(foreground) != GrowArray::kNoIndex;
}
