#include <gtest/gtest.h>

#include "arcade/ma_module_state.h"
#include "arcade_folder.h"

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

// "true v2", or "true v1 rolled back notice": the result, the loaded version and the flags.
std::string Apply()
{
    const bool result = MA_ApplySystemUpdate();
    const ArcadeModuleState& state = ArcadeModuleState::Instance();
    return std::string(result ? "true" : "false") + " v" + std::to_string(LoadedDllVersion()) +
           (state.updateRolledBack ? " rolled back" : "") + (state.rollbackNotice ? " notice" : "");
}

}  // namespace

TEST(ArcadeUpdate, SuccessfulMoveAndLoadKeepsTheBackupAndTheSubfoldersAndAPathTooLongForItsBufferIsRefusedNotCut)
{
    ArcadeFolder arcade;
    InstallAndShutDown(arcade);
    EXPECT_EQ(Apply(), "true v1") << "without an update folder the DLL is loaded again";
    EXPECT_FALSE(arcade.Exists("Arcade")) << "the DLL's Arcade folder goes on every update";
    MA_ShutDown();

    arcade.Write("Arcade\\state.txt", "state");
    arcade.Install(ArcadeFolder::BuiltDll("version2"), "Update\\MorvessaArcade.dll");
    arcade.Write("Update\\Data1.txt", "new data");
    arcade.Write("Update\\Sub\\inner.txt", "stays");
    arcade.Write("Data1.txt", "old data");
    SetFileAttributesA((arcade.path + "Data1.txt").c_str(), FILE_ATTRIBUTE_READONLY);

    EXPECT_EQ(Apply(), "true v2");
    EXPECT_EQ(ReadFileBytes(arcade.path + "Data1.txt"), "new data") << "a read-only file is replaced";
    EXPECT_FALSE(arcade.Exists("Update\\MorvessaArcade.dll"));
    EXPECT_TRUE(arcade.Exists("Update\\Sub\\inner.txt")) << "subfolders of the update stay where they are";
    EXPECT_FALSE(arcade.Exists("Sub"));
    EXPECT_FALSE(arcade.Exists("Arcade"));
    EXPECT_EQ(ReadFileBytes(arcade.path + "Application.dat"), "application");
    EXPECT_EQ(ReadFileBytes(arcade.path + "Channel.dat"), "channel");
    EXPECT_TRUE(arcade.Exists("Backup\\MorvessaArcade.dll"));
    EXPECT_TRUE(arcade.Exists("Backup\\Data1.txt"));
    MA_ShutDown();

    // 259 characters and the terminator fill the 260-character buffer exactly; 260 do not fit.
    char joined[MAX_PATH];
    EXPECT_TRUE(JoinPath(joined, std::string(200, 'a').c_str(), std::string(59, 'b').c_str()));
    EXPECT_FALSE(JoinPath(joined, std::string(200, 'a').c_str(), std::string(60, 'b').c_str()));
    std::vector<std::wstring> made;
    std::string fits;
    for (size_t length : {259u, 260u}) {
        const std::string name = std::string(length - arcade.path.size() - 11, 'L') + ".txt";
        const std::string narrow = arcade.path + "Update\\" + name;
        // Only the long-path form can make such a file; the update itself uses ordinary paths.
        made.push_back(L"\\\\?\\" + std::wstring(narrow.begin(), narrow.end()));
        HANDLE file = CreateFileW(made.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
        fits = fits.empty() ? name : fits;
    }
    EXPECT_EQ(Apply(), "true v1 rolled back notice") << "the file that cannot be named fails the move";
    EXPECT_TRUE(arcade.Exists(fits)) << "the one that fits was moved";
    for (const std::wstring& path : made)
        DeleteFileW(path.c_str());
}

TEST(ArcadeUpdate, AFileThatCannotBeMovedRestoresTheBackupEvenWhenItsFirstLoadFails)
{
    // The second case's DLL refuses its second initialisation, the one after the first restore.
    for (const char* settings : {"", "initialize_fail_on=2"}) {
        SCOPED_TRACE(settings);
        ArcadeFolder arcade;
        InstallAndShutDown(arcade, settings);
        // A folder in the way: neither deleted nor replaced by a file.
        CreateDirectoryA((arcade.path + "Data1.txt").c_str(), nullptr);
        arcade.Install(ArcadeFolder::BuiltDll("version2"), "Update\\MorvessaArcade.dll");
        arcade.Write("Update\\Data1.txt", "new data");
        arcade.Write("Update\\Data2.txt", "also new");

        EXPECT_EQ(Apply(), "true v1 rolled back notice") << "the backup's DLL replaced the one that was moved";
        EXPECT_EQ(arcade.Calls("madll_Initialize").size(), *settings ? 3u : 2u);
        EXPECT_FALSE(arcade.Exists("Update")) << "a failed update is thrown away";
        // Deleted, then written anew by the reloaded DLL with its own contents.
        EXPECT_EQ(ReadFileBytes(arcade.path + "Application.dat"), "1234\r\n");
        EXPECT_EQ(ReadFileBytes(arcade.path + "Channel.dat"), "42\r\n");
        EXPECT_TRUE(arcade.Exists("Data2.txt")) << "what was moved stays unless the backup holds its name";
        EXPECT_FALSE(arcade.Exists("Arcade"));
        EXPECT_TRUE(arcade.Exists("Backup\\Data1.txt"));
    }
}
