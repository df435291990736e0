#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "arcade/ma_module_state.h"
#include "arcade_folder.h"
#include "demo_game_control.h"
#include "process_driver.h"

namespace {

// An installed arcade layer, linked once and shut down again, as before an update.
void InstallAndShutDown(const ArcadeFolder& arcade, const std::string& settings = "")
{
    arcade.Install(ArcadeFolder::BuiltDll());
    arcade.Install(ArcadeFolder::BuiltDll(), "Backup\\MorvessaArcade.dll");
    arcade.Write("Backup\\Data1.txt", "backup data");
    arcade.Write("Arcade\\Deep\\state.txt", "state");
    arcade.Write("Application.dat", "application");
    arcade.Write("Channel.dat", "channel");
    arcade.Settings(settings);
    ASSERT_EQ(MA_Initialize(1234, "Update Test", 42, 0), 0);
    MA_ShutDown();
}

struct Outcome {
    bool result;
    int version;
    bool rolledBack;
    bool notice;
};

Outcome Apply()
{
    const bool result = MA_ApplySystemUpdate();
    const ArcadeModuleState& state = ArcadeModuleState::Instance();
    return {result, LoadedDllVersion(), state.updateRolledBack, state.rollbackNotice};
}

std::string ReadText(const std::string& path)
{
    char text[256] = "";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD read = 0;
    ReadFile(file, text, sizeof(text) - 1, &read, nullptr);
    CloseHandle(file);
    return std::string(text, read);
}

// Another process holds a file of the arcade folder open without any sharing.
struct FileHolder {
    ChildRun probe;
    explicit FileHolder(const std::string& path)
    {
        EXPECT_TRUE(probe.Start(ProgramFolder() + "arcade_probe.exe", "hold \"" + path + "\""));
        for (int i = 0; i < 500 && OpenEventA(SYNCHRONIZE, FALSE, "MorvessaProbeHolding") == nullptr; ++i)
            Sleep(10);
    }
};

}  // namespace

TEST(ArcadeUpdate, SuccessfulMoveAndLoadKeepsTheBackupAndTheSubfolders)
{
    ArcadeFolder arcade;
    InstallAndShutDown(arcade);
    arcade.Install(ArcadeFolder::BuiltDll("version2"), "Update\\MorvessaArcade.dll");
    arcade.Write("Update\\Data1.txt", "new data");
    arcade.Write("Update\\Sub\\inner.txt", "stays");
    arcade.Write("Data1.txt", "old data");
    SetFileAttributesA((arcade.path + "Data1.txt").c_str(), FILE_ATTRIBUTE_READONLY);

    const Outcome outcome = Apply();

    EXPECT_TRUE(outcome.result);
    EXPECT_EQ(outcome.version, 2);
    EXPECT_FALSE(outcome.rolledBack);
    EXPECT_FALSE(outcome.notice);
    EXPECT_EQ(ReadText(arcade.path + "Data1.txt"), "new data") << "a read-only file is replaced";
    EXPECT_FALSE(arcade.Exists("Update\\MorvessaArcade.dll"));
    EXPECT_TRUE(arcade.Exists("Update\\Sub\\inner.txt")) << "subfolders of the update stay where they are";
    EXPECT_FALSE(arcade.Exists("Sub"));
    EXPECT_FALSE(arcade.Exists("Arcade"));
    EXPECT_EQ(ReadText(arcade.path + "Application.dat"), "application");
    EXPECT_EQ(ReadText(arcade.path + "Channel.dat"), "channel");
    EXPECT_TRUE(arcade.Exists("Backup\\MorvessaArcade.dll"));
    EXPECT_TRUE(arcade.Exists("Backup\\Data1.txt"));
}

TEST(ArcadeUpdate, WithoutAnUpdateFolderTheDllIsLoadedAgain)
{
    ArcadeFolder arcade;
    InstallAndShutDown(arcade);
    const Outcome outcome = Apply();
    EXPECT_TRUE(outcome.result);
    EXPECT_EQ(outcome.version, 1);
    EXPECT_FALSE(outcome.rolledBack);
    EXPECT_FALSE(arcade.Exists("Arcade")) << "the DLL's Arcade folder goes on every update";
}

TEST(ArcadeUpdate, UnloadableUpdatedDllsAreReplacedFromTheBackup)
{
    // A DLL without an export, a DLL of the other architecture, random bytes.
    const std::string otherArchitecture = ProgramFolder() + "..\\..\\win32\\bin\\MorvessaArcade.dll";
    ASSERT_NE(GetFileAttributesA(otherArchitecture.c_str()), INVALID_FILE_ATTRIBUTES)
        << "the win32 preset must be built first";
    const std::string updates[] = {ArcadeFolder::BuiltDll("without-madll_Initialize"), otherArchitecture, ""};
    for (const std::string& update : updates) {
        SCOPED_TRACE(update);
        ArcadeFolder arcade;
        InstallAndShutDown(arcade);
        if (update.empty())
            arcade.Write("Update\\MorvessaArcade.dll", std::string(4096, '\x5A'));
        else
            arcade.Install(update, "Update\\MorvessaArcade.dll");

        const Outcome outcome = Apply();

        EXPECT_TRUE(outcome.result);
        EXPECT_EQ(outcome.version, 1);
        EXPECT_TRUE(outcome.rolledBack);
        EXPECT_TRUE(outcome.notice);
        EXPECT_EQ(ReadText(arcade.path + "Application.dat"), "application") << "the move itself succeeded";
        EXPECT_EQ(ReadText(arcade.path + "Channel.dat"), "channel");
        EXPECT_FALSE(arcade.Exists("Arcade"));
    }
}

TEST(ArcadeUpdate, AFileThatCannotBeMovedRestoresTheBackup)
{
    ArcadeFolder arcade;
    InstallAndShutDown(arcade);
    arcade.Write("Data1.txt", "held");
    arcade.Install(ArcadeFolder::BuiltDll("version2"), "Update\\MorvessaArcade.dll");
    arcade.Write("Update\\Data1.txt", "new data");
    arcade.Write("Update\\Data2.txt", "also new");
    FileHolder holder(arcade.path + "Data1.txt");

    const Outcome outcome = Apply();

    EXPECT_TRUE(outcome.result);
    EXPECT_EQ(outcome.version, 1) << "the backup's DLL replaced the one that was moved";
    EXPECT_TRUE(outcome.rolledBack);
    EXPECT_TRUE(outcome.notice);
    EXPECT_FALSE(arcade.Exists("Update")) << "a failed update is thrown away";
    // Deleted, then written anew by the reloaded DLL with its own contents.
    EXPECT_EQ(ReadText(arcade.path + "Application.dat"), "1234\r\n");
    EXPECT_EQ(ReadText(arcade.path + "Channel.dat"), "42\r\n");
    EXPECT_TRUE(arcade.Exists("Data2.txt")) << "what was moved stays unless the backup holds its name";
    EXPECT_FALSE(arcade.Exists("Arcade"));
    EXPECT_TRUE(arcade.Exists("Backup"));
}

TEST(ArcadeUpdate, AFailedMoveAndAFailedFirstLoadStillEndWithTheBackup)
{
    ArcadeFolder arcade;
    // The reference DLL refuses its second initialisation, the one after the first restore.
    InstallAndShutDown(arcade, "initialize_fail_on=2");
    arcade.Write("Data1.txt", "held");
    arcade.Write("Update\\Data1.txt", "new data");
    FileHolder holder(arcade.path + "Data1.txt");

    const Outcome outcome = Apply();

    EXPECT_TRUE(outcome.result);
    EXPECT_EQ(outcome.version, 1);
    EXPECT_TRUE(outcome.rolledBack);
    EXPECT_TRUE(outcome.notice);
    EXPECT_EQ(arcade.Calls("madll_Initialize").size(), 3u) << "start-up, the failed load, the second load";
}

TEST(ArcadeUpdate, WhenNeitherDllLoadsTheUpdateFails)
{
    ArcadeFolder arcade;
    InstallAndShutDown(arcade);
    arcade.Install(ArcadeFolder::BuiltDll("without-madll_Initialize"), "Backup\\MorvessaArcade.dll");
    arcade.Install(ArcadeFolder::BuiltDll("without-madll_Initialize"), "Update\\MorvessaArcade.dll");

    const Outcome outcome = Apply();

    EXPECT_FALSE(outcome.result);
    EXPECT_EQ(outcome.version, -1);
    EXPECT_TRUE(outcome.rolledBack);
    EXPECT_TRUE(outcome.notice);
    EXPECT_STREQ(MA_GetLastErrorInformation(), "Could not link to 'madll_Initialize' function within the dll.");
}

TEST(ArcadeUpdate, APathTooLongForTheBufferIsRefusedNotCut)
{
    ArcadeFolder arcade;
    InstallAndShutDown(arcade);
    const std::string longName = std::string(260 - arcade.path.size() - 8, 'L') + ".txt";
    // Only the long-path form can make the file; the update itself uses ordinary paths.
    const std::string narrow = arcade.path + "Update\\" + longName;
    const std::wstring wide = L"\\\\?\\" + std::wstring(narrow.begin(), narrow.end());
    arcade.Write("Update\\Short.txt", "short");
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);

    const Outcome outcome = Apply();

    EXPECT_TRUE(outcome.result);
    EXPECT_TRUE(outcome.rolledBack) << "the file that cannot be named fails the move";
    EXPECT_EQ(outcome.version, 1);
    EXPECT_TRUE(arcade.Exists("Short.txt"));
    DeleteFileW(wide.c_str());
}
