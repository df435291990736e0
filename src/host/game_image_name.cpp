#include "host/game_image_name.h"

#include <cstring>

#include "host/game_folder.h"

static void KeepAfterLast(char* path, char separator)
{
    const char* last = std::strrchr(path, separator);
    if (last != nullptr)
        std::memmove(path, last + 1, std::strlen(last + 1) + 1);
}

void MakeGameImageName(char* path)
{
    // Forward slashes first, then backslashes: what remains follows the last separator of either kind.
    KeepAfterLast(path, '/');
    KeepAfterLast(path, '\\');
    const size_t length = std::strlen(path);
    if (length < GAME_SUFFIX_LENGTH)
        return;
    std::memcpy(path + length - GAME_SUFFIX_LENGTH, GAME_IMAGE_SUFFIX, GAME_SUFFIX_LENGTH);
}
