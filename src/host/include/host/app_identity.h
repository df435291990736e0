#pragma once
#include <windows.h>

#include <cstdint>

#include "host/app_user_model_id.h"

// What Windows groups and pins the game under: the product's AppUserModelID (the one the kit's
// installer gives the shortcuts, made from the settings), and how a pinned game window starts the
// shell again. Exactly one, built on first use after the GameHost.
struct AppIdentity {
    typedef HRESULT(WINAPI* SetProcessAppIdCall)(const wchar_t* appId);
    typedef HRESULT(WINAPI* WindowPropertyStoreCall)(HWND window, const IID& iid, void** store);

    wchar_t appId[APP_USER_MODEL_ID_LIMIT + 1];
    wchar_t relaunchCommand[MAX_PATH + 2];
    wchar_t displayName[256];
    wchar_t iconResource[MAX_PATH + 2];
    uint32_t windowsLabelled;
    // Windows 7's calls, looked up once: null where they are missing.
    SetProcessAppIdCall setProcessAppId;
    WindowPropertyStoreCall windowPropertyStore;

    static AppIdentity& Instance();

    AppIdentity();
    AppIdentity(const AppIdentity&) = delete;
    AppIdentity& operator=(const AppIdentity&) = delete;

    // The shell's own process, before its first window. Windows before 7 have no such call: S_FALSE.
    HRESULT ClaimForProcess() const;
    // A top-level window of the game: the relaunch properties, then the ID that makes Windows use
    // them. The result of the first call that failed, or S_OK.
    HRESULT LabelWindow(HWND window);
};
