#pragma once
#include <windows.h>

// The running program's folder with its trailing separator; the settings, the game image
// and the arcade folder all sit beside the shell.
bool GetModuleDirectory(char* buffer, DWORD capacity);
