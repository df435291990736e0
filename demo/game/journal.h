#pragma once

#include <windows.h>

#include <string>

// One line per event, each handed to the system at once so that the file survives TerminateProcess.
struct Journal {
    void open(const char* path, DWORD startTick);
    void write(const std::string& event);
    // Writes the last line: other threads keep receiving messages while the process ends.
    void finish(const std::string& event);
    void windowCreated(HWND hwnd, const char* thread, const char* title);
    void message(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    Journal() = default;
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    DWORD startTick_ = 0;
    bool finished_ = false;
    CRITICAL_SECTION lock_;
};

Journal& journal();

