#include <windows.h>
#include <propsys.h>

#include <gtest/gtest.h>

#include "harness.h"
#include "host/app_identity.h"
#include "host/game_host.h"

namespace {

std::string Narrow(const wchar_t* text)
{
    char narrow[512] = "";
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof(narrow), nullptr, nullptr);
    return narrow;
}

template <typename Call>
Call Shell32(const char* name)
{
    return reinterpret_cast<Call>(reinterpret_cast<void (*)(void)>(GetProcAddress(LoadLibraryA("shell32.dll"), name)));
}

IPropertyStore* StoreOf(HWND window)
{
    typedef HRESULT(WINAPI * StoreFor)(HWND, const IID&, void**);
    const IID storeId = {0x886D8EEB, 0x8CF2, 0x4446, {0x8D, 0x02, 0xCD, 0xBA, 0x1D, 0xBD, 0xCF, 0x99}};
    IPropertyStore* store = nullptr;
    Shell32<StoreFor>("SHGetPropertyStoreForWindow")(window, storeId, reinterpret_cast<void**>(&store));
    return store;
}

PROPERTYKEY AppUserModelKey(DWORD id)
{
    return {{0x9F4C2855, 0x9F79, 0x4B39, {0xA8, 0xD0, 0xE1, 0xD4, 0x2D, 0xE1, 0xD5, 0xF3}}, id};
}

// A window's AppUserModel text property, or why it could not be read.
std::string WindowProperty(HWND window, DWORD id)
{
    IPropertyStore* store = StoreOf(window);
    if (store == nullptr)
        return "(no store)";
    PROPVARIANT value;
    ZeroMemory(&value, sizeof(value));
    const bool read = SUCCEEDED(store->GetValue(AppUserModelKey(id), &value)) && value.vt == VT_LPWSTR;
    const std::string text = read ? Narrow(value.pwszVal) : "(not read)";
    if (read)
        CoTaskMemFree(value.pwszVal);
    store->Release();
    return text;
}

// Whether a window's store keeps what is set in it for the next one to read (Wine's does not).
bool WindowStoresKeepValues(HWND window)
{
    IPropertyStore* store = StoreOf(window);
    if (store == nullptr)
        return false;
    PROPVARIANT value;
    ZeroMemory(&value, sizeof(value));
    value.vt = VT_LPWSTR;
    value.pwszVal = const_cast<wchar_t*>(L"Probe.Value");
    store->SetValue(AppUserModelKey(5), value);
    store->Commit();
    store->Release();
    return WindowProperty(window, 5) == "Probe.Value";
}

}  // namespace

// The settings beside this program have no Publisher= line: the ID falls back on the file name.
TEST(AppIdentity, TheShellTakesTheIdTheKitGivesItsShortcutsAndPutsItWithTheRelaunchPropertiesOnAGameWindow)
{
    AppIdentity& identity = AppIdentity::Instance();
    EXPECT_EQ(Narrow(identity.appId), "WinTests.Game4294967295");
    EXPECT_EQ(Narrow(identity.relaunchCommand), "\"" + ProgramFolder() + "win_tests.exe\"");
    EXPECT_EQ(Narrow(identity.displayName), "Win Test Game");

    ASSERT_EQ(identity.ClaimForProcess(), S_OK);
    typedef HRESULT(WINAPI * ReadId)(wchar_t**);
    wchar_t* claimed = nullptr;
    const HRESULT read = Shell32<ReadId>("GetCurrentProcessExplicitAppUserModelID")(&claimed);
    if (read != E_NOTIMPL) {
        ASSERT_EQ(read, S_OK);
        EXPECT_EQ(Narrow(claimed), Narrow(identity.appId)) << "the process's explicit ID reads back";
        CoTaskMemFree(claimed);
    } else {
        // Wine takes the ID and keeps nothing to read back.
        RecordProperty("process_id", "not verified: GetCurrentProcessExplicitAppUserModelID not implemented");
    }

    // The game image (the demo game) has an icon: a pinned game wears it.
    HWND window = CreateWindowExA(0, "STATIC", "game", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    const bool kept = WindowStoresKeepValues(window);
    EXPECT_EQ(identity.LabelWindow(window), S_OK);
    EXPECT_EQ(Narrow(identity.iconResource), ProgramFolder() + "win_tests.MWG,0");
    if (kept) {
        EXPECT_EQ(WindowProperty(window, 5), Narrow(identity.appId));
        EXPECT_EQ(WindowProperty(window, 2), Narrow(identity.relaunchCommand));
        EXPECT_EQ(WindowProperty(window, 4), "Win Test Game");
        EXPECT_EQ(WindowProperty(window, 3), Narrow(identity.iconResource));
    } else {
        RecordProperty("window_properties", "not verified: this system's window stores keep nothing");
    }
    DestroyWindow(window);
}
