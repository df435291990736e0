#include "host/module_directory.h"

#include <cstring>

bool GetModuleDirectory(char* buffer, DWORD capacity)
{
    buffer[0] = '\0';
    const DWORD length = GetModuleFileNameA(nullptr, buffer, capacity);
    if (length == 0)
        return false;
    // A path cut at the buffer's end is not terminated on every Windows version.
    buffer[length < capacity ? length : capacity - 1] = '\0';
    char* separator = std::strrchr(buffer, '\\');
    if (separator == nullptr)
        separator = std::strrchr(buffer, '/');
    if (separator != nullptr)
        separator[1] = '\0';
    return true;
}
