#pragma once
#include <windows.h>

#include <functional>

// Polls every 10 ms; true as soon as the condition holds.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);
void SleepUntil(DWORD tick);
