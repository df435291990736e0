#include "journal.h"

#include "hex_text.h"
#include "message_names.h"

Journal& journal()
{
    static Journal instance;
    return instance;
}

void Journal::open(const char* path, DWORD startTick)
{
    startTick_ = startTick;
    InitializeCriticalSection(&lock_);
    if (!path || !*path)
        return;
    // Append-only access makes every WriteFile land at the current end, even with several writers.
    file_ = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

void Journal::write(const std::string& event)
{
    if (file_ == INVALID_HANDLE_VALUE)
        return;
    std::string line = std::to_string(GetTickCount() - startTick_) + " " + event + "\n";
    EnterCriticalSection(&lock_);
    if (!finished_) {
        DWORD written = 0;
        WriteFile(file_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
    LeaveCriticalSection(&lock_);
}

void Journal::finish(const std::string& event)
{
    EnterCriticalSection(&lock_);
    write(event);
    finished_ = true;
    LeaveCriticalSection(&lock_);
}

void Journal::windowCreated(HWND hwnd, const char* thread, const char* title)
{
    write("window " + Hex(reinterpret_cast<ULONG_PTR>(hwnd)) + " thread=" + thread +
          " title=" + (title ? title : ""));
}

void Journal::message(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (file_ == INVALID_HANDLE_VALUE || isNoisyMessage(msg))
        return;
    write("msg " + messageName(msg) + " hwnd=" + Hex(reinterpret_cast<ULONG_PTR>(hwnd)) +
          " wparam=" + Hex(static_cast<ULONG_PTR>(wParam)) +
          " lparam=" + Hex(static_cast<ULONG_PTR>(lParam)));
}
