// Runs one arcade operation in a process of its own, for what ends a process (failed
// assertions), and holds files open for the update tests.
#include <windows.h>

#include <cstring>
#include <string>

#include "arcade/ma_api.h"

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const std::string operation = argv[1];
    if (operation == "session-before-init") {
        MA_IsTheMenuSessionComplete();
        return 0;
    }
    if (operation == "name-too-long") {
        const std::string name(MAX_APPLICATION_NAME_LENGTH, 'n');
        MA_Initialize(1, name.c_str(), 2, 0);
        return 0;
    }
    if (operation == "hold" && argc >= 3) {
        // No sharing at all: nobody may delete, replace or read the file meanwhile.
        HANDLE file = CreateFileA(argv[2], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return 4;
        HANDLE holding = CreateEventA(nullptr, TRUE, TRUE, "MorvessaProbeHolding");
        Sleep(INFINITE);
        CloseHandle(holding);
        return 0;
    }
    return 2;
}
