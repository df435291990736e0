#pragma once
#include <windows.h>

#include <cstdint>

#include "base/grow_array.h"

// The settings and the game process: exactly one, built on first use.
struct GameHost {
    PROCESS_INFORMATION processInfo;
    HWND gameWindow;
    char* settingsText;
    char gameImagePath[MAX_PATH];

    static GameHost& Instance();

    GameHost();
    ~GameHost();
    GameHost(const GameHost&) = delete;
    GameHost& operator=(const GameHost&) = delete;

    // Settings (cached for the life of the process once non-empty / non-zero).
    const char* GetApplicationName();
    uint32_t GetApplicationId();
    uint32_t GetDeveloperChannelId();
    void LoadSettingsText(const char* fileName);

    // The game process.
    void LaunchGame();
    bool IsGameRunning();
    void WaitWhileRunning(uint32_t ms);
    void CloseGame();
    HWND FindGameWindow();
    bool IsGameInForeground();
    void ResetProcessRecord();

    static BOOL CALLBACK GameWindowEnumProc(HWND window, LPARAM pass);
};

// Every window a discovery pass has seen on the game's main thread since the last reset,
// each once, in the order first seen.
extern GrowArray GameWindowList;

// A new heap buffer (free with std::free) of exactly *size bytes; *handle gets the file
// handle even when opening failed. A file that cannot be read ends the process.
char* ReadWholeFile(const char* fileName, DWORD* size, HANDLE* handle);
