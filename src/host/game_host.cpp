#include "host/game_host.h"

#include <cstdlib>
#include <cstring>

#include "host/game_folder.h"
#include "host/game_image_name.h"
#include "host/module_directory.h"
#include "host/settings_value.h"

static char applicationNameCache[256];
static uint32_t applicationIdCache;
static uint32_t developerChannelIdCache;

GameHost& GameHost::Instance()
{
    static GameHost host;
    return host;
}

GameHost::GameHost()
    : processInfo(), gameWindow(nullptr), settingsText(nullptr), gameImagePath()
{
    // Relative names (the settings file, the game image) then resolve against the shell's folder.
    char folder[MAX_PATH];
    if (GetModuleDirectory(folder, MAX_PATH))
        SetCurrentDirectoryA(folder);

    ResetProcessRecord();

    gameImagePath[0] = '\0';
    GetModuleFileNameA(nullptr, gameImagePath, MAX_PATH);
    MakeGameImageName(gameImagePath);

    LoadSettingsText(SETTINGS_FILE_NAME);
}

GameHost::~GameHost()
{
    std::free(settingsText);
    settingsText = nullptr;
}

const char* GameHost::GetApplicationName()
{
    return LookupSettingName(applicationNameCache, settingsText);
}

uint32_t GameHost::GetApplicationId()
{
    return LookupSettingNumber(applicationIdCache, settingsText, APPLICATION_ID_KEY);
}

uint32_t GameHost::GetDeveloperChannelId()
{
    // The key has no "=": whatever stands before the number goes through atoi's rules.
    return LookupSettingNumber(developerChannelIdCache, settingsText, DEVELOPER_CHANNEL_ID_KEY);
}
