#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "host/game_host.h"
#include "host/settings_value.h"
#include "host/fatal_error.h"

char* ReadWholeFile(const char* fileName, DWORD* size, HANDLE* handle)
{
    *handle = CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                          nullptr);
    // A file that failed to open ends here as well: the size query on the bad handle fails.
    *size = GetFileSize(*handle, nullptr);
    FatalError(*size != INVALID_FILE_SIZE, "Could not get file size");
    char* buffer = static_cast<char*>(std::malloc(*size > 0 ? *size : 1));
    DWORD bytesRead = 0;
    const bool read = buffer != nullptr && ReadFile(*handle, buffer, *size, &bytesRead, nullptr) && bytesRead == *size;
    FatalError(read, "There was an error in reading the file contents into memory.");
    return buffer;
}

void GameHost::LoadSettingsText(const char* fileName)
{
    DWORD size = 0;
    HANDLE handle = INVALID_HANDLE_VALUE;
    char* bytes = ReadWholeFile(fileName, &size, &handle);
    CloseHandle(handle);
    char* text = static_cast<char*>(std::malloc(static_cast<size_t>(size) + 1));
    FatalError(text != nullptr, "There was an error in reading the file contents into memory.");
    DecodeSettingsBytes(reinterpret_cast<const unsigned char*>(bytes), size, text);
    std::free(bytes);
    std::free(settingsText);
    settingsText = text;
    FatalError(std::strstr(settingsText, APPLICATION_NAME_KEY) != nullptr,
               "Game files are corrupt, please re-install game and try again.");
}
