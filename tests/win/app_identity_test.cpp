#include <windows.h>

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

}  // namespace

// The settings beside this program have no Publisher= line: the ID falls back on the file name.
TEST(AppIdentity, TheShellTakesTheIdTheKitGivesItsShortcutsAndPutsItWithTheRelaunchPropertiesOnAGameWindow)
{
    AppIdentity& identity = AppIdentity::Instance();
    EXPECT_EQ(Narrow(identity.appId), "WinTests.Game4294967295");
    EXPECT_EQ(Narrow(identity.relaunchCommand), "\"" + ProgramFolder() + "win_tests.exe\"");
    EXPECT_EQ(Narrow(identity.displayName), "Win Test Game");

    ASSERT_EQ(identity.ClaimForProcess(), S_OK);

    // The game image (the demo game) has an icon: a pinned game wears it. Wine keeps neither the
    // process's ID nor a window's properties, so neither is read back here.
    HWND window = CreateWindowExA(0, "STATIC", "game", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(identity.LabelWindow(window), S_OK);
    EXPECT_EQ(Narrow(identity.iconResource), ProgramFolder() + "win_tests.MWG,0");
    DestroyWindow(window);
}
