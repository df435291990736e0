#pragma once
#include <windows.h>

#include <string>

#include "temp_folder.h"

// A game folder as a publisher ships it: the shell renamed after the game, the demo game
// as its game image, and (when given) the settings file.
struct GameFolder : TempFolder {
    std::string shellPath;
    explicit GameFolder(const std::string& gameName = "Puzzle");
    void WriteSettings(const std::string& text) const { Write("MAW_002.dat", text); }
};

// One started shell; everything it started is ended when this goes.
struct ShellRun {
    PROCESS_INFORMATION process = {};
    HANDLE job = nullptr;

    ShellRun() = default;
    ShellRun(const ShellRun&) = delete;
    ShellRun& operator=(const ShellRun&) = delete;
    ~ShellRun();

    bool Start(const std::string& exePath);
    // The exit code, or STILL_ACTIVE when it has not ended within the timeout.
    DWORD WaitExit(DWORD timeoutMs);
    // A top-level window of this shell's process with that class (and caption, when given).
    HWND FindWindowOf(const char* className, const char* caption = nullptr) const;
    HWND WaitWindow(const char* className, const char* caption = nullptr, DWORD timeoutMs = 10000) const;
    // A message box of this shell with that caption, once it is shown whole.
    HWND WaitMessageBox(const char* caption, DWORD timeoutMs = 10000) const;
};

std::string WindowText(HWND window);
std::string MessageBoxText(HWND box);
void PressButton(HWND box, int id);
