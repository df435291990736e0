#include <cstdio>

#include "commands.h"

int RunArcade(int, char**)
{
    std::fputs("shellkit arcade: the command needs Windows: it loads and runs the DLL; use the shellkit.exe of the "
               "DLL's architecture (build/win32/bin for a 32-bit DLL, build/win64/bin for a 64-bit one)\n",
               stderr);
    return 2;
}
