#include "host/fatal_error.h"

#include <windows.h>

#include <cstdlib>

void FatalError(bool ok, const char* message)
{
    if (ok)
        return;
    MessageBoxA(nullptr, message, "FATAL ERROR", MB_OK);
    std::exit(0);
}
