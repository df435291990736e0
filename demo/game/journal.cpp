#include "journal.h"

#include "message_names.h"

Journal& journal()
{
    static Journal instance;
    return instance;
}

std::string hexText(ULONG_PTR value)
{
    const char* digits = "0123456789ABCDEF";
    char buffer[2 * sizeof(ULONG_PTR) + 1];
    char* end = buffer + sizeof(buffer);
    char* at = end;
    do {
        *--at = digits[value & 0xF];
        value >>= 4;
    } while (value != 0);
    return "0x" + std::string(at, end);
}

std::string decimalText(unsigned long value)
{
    char buffer[24];
    char* end = buffer + sizeof(buffer);
    char* at = end;
    do {
        *--at = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    return std::string(at, end);
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
    std::string line = decimalText(GetTickCount() - startTick_) + " " + event + "\n";
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
    write("window " + hexText(reinterpret_cast<ULONG_PTR>(hwnd)) + " thread=" + thread +
          " title=" + (title ? title : ""));
}

void Journal::message(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (file_ == INVALID_HANDLE_VALUE || isNoisyMessage(msg))
        return;
    write("msg " + messageName(msg) + " hwnd=" + hexText(reinterpret_cast<ULONG_PTR>(hwnd)) +
          " wparam=" + hexText(static_cast<ULONG_PTR>(wParam)) +
          " lparam=" + hexText(static_cast<ULONG_PTR>(lParam)));
}
