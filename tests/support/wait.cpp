#include "wait.h"

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(10);
    }
    return true;
}

void SleepUntil(DWORD tick)
{
    const LONG left = static_cast<LONG>(tick - GetTickCount());
    if (left > 0)
        Sleep(static_cast<DWORD>(left));
}
