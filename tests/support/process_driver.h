#pragma once
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "temp_folder.h"

// One started program; everything it started is ended when this goes.
struct ChildRun {
    PROCESS_INFORMATION process = {};
    HANDLE job = nullptr;

    ChildRun() = default;
    ChildRun(const ChildRun&) = delete;
    ChildRun& operator=(const ChildRun&) = delete;
    ~ChildRun();

    // arguments: the command line after the program's quoted name, or empty for none.
    bool Start(const std::string& exePath, const std::string& arguments = "");
    // The exit code, or STILL_ACTIVE when it has not ended within the timeout.
    DWORD WaitExit(DWORD timeoutMs);
    // A top-level window of this process with that class (and caption, when given).
    HWND FindWindowOf(const char* className, const char* caption = nullptr) const;
    HWND WaitWindow(const char* className, DWORD timeoutMs = 10000) const;
    // A message box of this process with that caption, once it is shown whole.
    HWND WaitMessageBox(const char* caption, DWORD timeoutMs = 10000) const;
};

std::string WindowText(HWND window);
std::string MessageBoxText(HWND box);
void PressButton(HWND box, int id);

// Answers the message boxes that this very process shows on its own thread: a watcher
// thread presses the given button on each box with the caption and keeps their texts.
class BoxAnswerer {
public:
    BoxAnswerer(const char* caption, int button);
    ~BoxAnswerer();
    std::vector<std::string> Texts();

private:
    std::atomic<bool> stop{false};
    std::mutex lock;
    std::vector<std::string> texts;
    std::thread watcher;
};
