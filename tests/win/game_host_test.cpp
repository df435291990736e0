#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "demo_game_control.h"
#include "host/game_host.h"
#include "temp_folder.h"

TEST(GameHost, IsBuiltFromTheProgramsFolderAndSettings)
{
    GameHost& host = GameHost::Instance();

    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    std::string expected = ProgramFolder();
    expected.pop_back();
    EXPECT_EQ(_stricmp(current, expected.c_str()), 0) << current;

    EXPECT_STREQ(host.gameImagePath, "win_tests.MWG");
    EXPECT_STREQ(host.GetApplicationName(), "Win Test Game");
    EXPECT_EQ(host.GetApplicationId(), 4294967295u);
    EXPECT_EQ(host.GetDeveloperChannelId(), 42u);
    EXPECT_EQ(host.processInfo.hProcess, nullptr);
    EXPECT_EQ(host.processInfo.dwThreadId, 0u);
    EXPECT_EQ(host.gameWindow, nullptr);
}

TEST(GameHost, ReadsEmptyAndLargeFilesWhole)
{
    TempFolder folder;
    folder.Write("empty.dat", "");
    DWORD size = 123;
    HANDLE handle = nullptr;
    char* bytes = ReadWholeFile(folder.File("empty.dat").c_str(), &size, &handle);
    EXPECT_EQ(size, 0u);
    EXPECT_NE(handle, INVALID_HANDLE_VALUE);
    CloseHandle(handle);
    std::free(bytes);

    // 10 MB of noise without NUL bytes, the key only at the very end.
    std::string noise(10u << 20, ' ');
    std::mt19937 random(7);
    for (char& c : noise)
        c = static_cast<char>(1 + random() % 255);
    const std::string tail = "\r\nApplication Name=Big\r\n";
    noise.replace(noise.size() - tail.size(), tail.size(), tail);
    folder.Write("big.dat", noise);

    GameHost& host = GameHost::Instance();
    host.LoadSettingsText(folder.File("big.dat").c_str());
    ASSERT_EQ(std::strlen(host.settingsText), noise.size());
    EXPECT_EQ(std::memcmp(host.settingsText, noise.data(), noise.size()), 0);
    host.LoadSettingsText("MAW_002.dat");
    EXPECT_NE(std::strstr(host.settingsText, "Win Test Game"), nullptr);
}
