#pragma once
#include <windows.h>

#include <string>
#include <vector>

// What a process holds that a DLL can leak a little of per frame until the process ends.
struct ResourceLevels {
    DWORD handles = 0;
    DWORD gdiObjects = 0;
    DWORD userObjects = 0;
    SIZE_T privateBytes = 0;

    static ResourceLevels Now();
    // "" or a line per level that grew past its allowance since `start`.
    std::vector<std::string> GrowthSince(const ResourceLevels& start) const;
};

// The IDs of the threads of this process that still run.
std::vector<DWORD> RunningThreads();
