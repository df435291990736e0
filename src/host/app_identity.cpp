#include "host/app_identity.h"

#include <propsys.h>

#include <cstring>
#include <cwchar>

#include "host/game_host.h"

namespace {

typedef void (*AnyCall)(void);

// Windows 7 and later only: looked up, so that the shell still starts where they are missing.
AnyCall Shell32Call(const char* name)
{
    HMODULE shell32 = LoadLibraryA("shell32.dll");
    return shell32 == nullptr ? nullptr : reinterpret_cast<AnyCall>(GetProcAddress(shell32, name));
}

const IID kPropertyStoreId = {0x886D8EEB, 0x8CF2, 0x4446, {0x8D, 0x02, 0xCD, 0xBA, 0x1D, 0xBD, 0xCF, 0x99}};
const GUID kAppUserModelKeys = {0x9F4C2855, 0x9F79, 0x4B39, {0xA8, 0xD0, 0xE1, 0xD4, 0x2D, 0xE1, 0xD5, 0xF3}};
const DWORD kRelaunchCommand = 2;
const DWORD kRelaunchIconResource = 3;
const DWORD kRelaunchDisplayNameResource = 4;
const DWORD kAppUserModelId = 5;

BOOL CALLBACK NoteIconGroup(HMODULE, LPCSTR, LPSTR, LONG_PTR found)
{
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

bool HasIcon(const wchar_t* path)
{
    HMODULE image = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (image == nullptr)
        return false;
    bool found = false;
    EnumResourceNamesA(image, MAKEINTRESOURCEA(14), NoteIconGroup, reinterpret_cast<LONG_PTR>(&found));
    FreeLibrary(image);
    return found;
}

HRESULT SetText(IPropertyStore* store, DWORD id, const wchar_t* text)
{
    PROPERTYKEY key;
    key.fmtid = kAppUserModelKeys;
    key.pid = id;
    // SetValue copies the value: the text stays ours.
    PROPVARIANT value;
    ZeroMemory(&value, sizeof(value));
    value.vt = VT_LPWSTR;
    value.pwszVal = const_cast<wchar_t*>(text);
    return store->SetValue(key, value);
}

}  // namespace

AppIdentity& AppIdentity::Instance()
{
    static AppIdentity identity;
    return identity;
}

AppIdentity::AppIdentity()
    : appId(), relaunchCommand(), displayName(), iconResource(), windowsLabelled(0),
      setProcessAppId(reinterpret_cast<SetProcessAppIdCall>(Shell32Call("SetCurrentProcessExplicitAppUserModelID"))),
      windowPropertyStore(reinterpret_cast<WindowPropertyStoreCall>(Shell32Call("SHGetPropertyStoreForWindow")))
{
    GameHost& host = GameHost::Instance();
    char shell[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, shell, MAX_PATH);
    char* name = shell;
    for (char* c = shell; *c != '\0'; ++c)
        if (*c == '\\' || *c == '/')
            name = c + 1;
    char* dot = std::strrchr(name, '.');
    if (dot != nullptr)
        *dot = '\0';
    char id[APP_USER_MODEL_ID_LIMIT + 1];
    MakeAppUserModelId(id, PublisherForId(host.settingsText, name), host.GetApplicationId());
    MultiByteToWideChar(CP_ACP, 0, id, -1, appId, APP_USER_MODEL_ID_LIMIT + 1);

    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    _snwprintf(relaunchCommand, MAX_PATH + 1, L"\"%ls\"", path);
    MultiByteToWideChar(CP_ACP, 0, host.GetApplicationName(), -1, displayName, 255);
}

HRESULT AppIdentity::ClaimForProcess() const
{
    return setProcessAppId == nullptr ? S_FALSE : setProcessAppId(appId);
}

HRESULT AppIdentity::LabelWindow(HWND window)
{
    ++windowsLabelled;
    if (iconResource[0] == L'\0') {
        // The game image's icon when it has one, as the installer's shortcuts show it.
        wchar_t name[MAX_PATH] = L"";
        wchar_t path[MAX_PATH] = L"";
        MultiByteToWideChar(CP_ACP, 0, GameHost::Instance().gameImagePath, -1, name, MAX_PATH);
        // The name is relative to the shell's folder, the working directory; Windows needs the whole path.
        const DWORD length = GetFullPathNameW(name, MAX_PATH, path, nullptr);
        if (length == 0 || length >= MAX_PATH || !HasIcon(path))
            GetModuleFileNameW(nullptr, path, MAX_PATH);
        _snwprintf(iconResource, MAX_PATH + 1, L"%ls,0", path);
    }
    if (windowPropertyStore == nullptr)
        return S_FALSE;
    IPropertyStore* store = nullptr;
    HRESULT result = windowPropertyStore(window, kPropertyStoreId, reinterpret_cast<void**>(&store));
    if (FAILED(result) || store == nullptr)
        return FAILED(result) ? result : E_NOINTERFACE;
    const DWORD order[] = {kRelaunchCommand, kRelaunchDisplayNameResource, kRelaunchIconResource, kAppUserModelId};
    const wchar_t* texts[] = {relaunchCommand, displayName, iconResource, appId};
    for (size_t i = 0; i < sizeof(order) / sizeof(order[0]) && SUCCEEDED(result); ++i)
        result = SetText(store, order[i], texts[i]);
    if (SUCCEEDED(result))
        result = store->Commit();
    store->Release();
    return result;
}
