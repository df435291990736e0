// The steps of player_account.sh, each run on its own with --gtest_filter: Admin.* by the
// administrator, Player.* in a Wine session that the file system's permissions bind.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "harness.h"
#include "shell_driver.h"

namespace {

namespace fs = std::filesystem;

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Morvessa Demo 1001";

std::string KnownFolder(int folder)
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

const std::string kSetup = ProgramFolder() + "shellkit-installer\\Target Practice Setup.exe";
const std::string kVersion2 = ProgramFolder() + "arcade-variants\\version2\\MorvessaArcade.dll";

std::string ForEveryone()
{
    return KnownFolder(CSIDL_PROGRAM_FILES) + "\\Target Practice";
}

std::string ForThePlayer()
{
    return KnownFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Target Practice";
}

std::string InstallLocation(HKEY root)
{
    char data[MAX_PATH] = "";
    DWORD size = sizeof(data);
    if (RegGetValueA(root, kUninstallKey, "InstallLocation", RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return "(none)";
    return data;
}

// The arcade layer asks for version 2 after two frames of a menu session.
void SteerArcade(const std::string& installed)
{
    std::ofstream(installed + "\\MorvessaArcade\\ArcadeTest.txt", std::ios::binary)
        << "update_after_frames=2\r\nupdate_source=" << kVersion2 << "\r\n";
}

bool Writable(const std::string& file)
{
    HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(handle);
    return true;
}

// The player starts the installed game: it comes up to its closing screen with the arcade
// layer's files written, and Other Games lets the layer stage version 2, which the shell applies.
void ExpectGameRunsAndUpdates(const std::string& installed)
{
    const std::string arcade = installed + "\\MorvessaArcade\\";
    const std::string shipped = ReadFileBytes(arcade + "MorvessaArcade.dll");
    const std::string newer = ReadFileBytes(kVersion2);
    ASSERT_FALSE(newer.empty());
    ASSERT_NE(shipped, newer);
    TempFolder journals;
    SetDemoGameBehaviour("exitafter=1500", journals.File("game.txt"));
    ParkMouse();
    ChildRun shell;
    ASSERT_TRUE(shell.Start(installed + "\\Target Practice.exe"));
    HWND wrapper = shell.WaitWindow(kWrapperClass, 15000);
    SetDemoGameBehaviour("", "");
    ASSERT_NE(wrapper, nullptr) << "the shell did not come up";
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(wrapper) != FALSE; }, 15000)) << "the closing screen";
    EXPECT_EQ(ReadFileBytes(arcade + "Application.dat"), "1001\r\n");
    EXPECT_EQ(ReadFileBytes(arcade + "Channel.dat"), "7\r\n");

    ASSERT_TRUE(ClickButtonWhenHovered(wrapper, kOtherGamesLeft));
    EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(arcade + "MorvessaArcade.dll") == newer; }, 15000))
        << "the staged update was not applied";
    EXPECT_TRUE(ReadFileBytes(arcade + "Backup\\MorvessaArcade.dll") == shipped) << "the old DLL is the backup";
    std::error_code none;
    EXPECT_TRUE(fs::is_directory(arcade + "Update", none) && fs::is_empty(arcade + "Update", none))
        << "the update folder is emptied";
}

}  // namespace

// Run by the administrator: the installed copy and the grant the setup asked icacls.exe for.
TEST(Admin, InstallsForEveryone)
{
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    const std::string calls = std::string(system) + "\\icacls.log";
    DeleteFileA(calls.c_str());
    ASSERT_EQ(RunToEnd(kSetup, "/S /AllUsers"), 0u);
    EXPECT_EQ(InstallLocation(HKEY_LOCAL_MACHINE), ForEveryone());
    EXPECT_EQ(ReadFileBytes(calls), "\"" + std::string(system) + "\\icacls.exe\" \"" + ForEveryone() +
                                        "\\MorvessaArcade\" /grant *S-1-5-32-545:(OI)(CI)M /T /Q\r\n")
        << "Users, Modify, inherited by what the folder holds, on the arcade folder alone";
    SteerArcade(ForEveryone());
}

TEST(Player, InstallsForThemselvesPlaysUpdatesAndUninstalls)
{
    const std::string installed = ForThePlayer();
    ASSERT_EQ(RunToEnd(kSetup, "/S"), 0u);
    EXPECT_EQ(InstallLocation(HKEY_CURRENT_USER), installed);
    EXPECT_EQ(InstallLocation(HKEY_LOCAL_MACHINE), "(none)");
    ASSERT_TRUE(fs::exists(installed + "\\Target Practice.exe"));
    SteerArcade(installed);
    ExpectGameRunsAndUpdates(installed);

    ChildRun uninstall;
    ASSERT_TRUE(uninstall.Start(installed + "\\Uninstall.exe", "/S"));
    EXPECT_TRUE(WaitUntil([&] { return InstallLocation(HKEY_CURRENT_USER) == "(none)" && !fs::exists(installed); },
                          30000)) << "the player's uninstall removes the copy";
}

// Not elevated on Windows, the player's setup for everyone meets folders it cannot write.
TEST(Player, CannotInstallForEveryone)
{
    const DWORD code = RunToEnd(kSetup, "/S /AllUsers");
    EXPECT_NE(code, 0u);
    EXPECT_NE(code, 0xFFFFFFFFu) << "the setup did not end";
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        EXPECT_EQ(InstallLocation(root), "(none)") << "nothing registered";
    EXPECT_FALSE(fs::exists(ForEveryone()));
    EXPECT_FALSE(fs::exists(KnownFolder(CSIDL_COMMON_PROGRAMS) + "\\Target Practice.lnk"));
}

// The copy for everyone as Program Files leaves it to a standard user, without the grant.
TEST(Player, SharedCopyWithoutTheGrantStopsAtTheArcadeLayer)
{
    const std::string arcade = ForEveryone() + "\\MorvessaArcade\\";
    ChildRun shell;
    ASSERT_TRUE(shell.Start(ForEveryone() + "\\Target Practice.exe"));
    HWND box = shell.WaitMessageBox("Application Error", 15000);
    ASSERT_NE(box, nullptr) << "the game came up although the arcade layer cannot write its files";
    EXPECT_EQ(MessageBoxText(box), "There was an error initializing the application. It will now exit.");
    PressButton(box, IDOK);
    EXPECT_EQ(shell.WaitExit(10000), 0u);
    EXPECT_FALSE(fs::exists(arcade + "Application.dat"));
}

// The same copy once the recorded grant is applied: the game works, and only there.
TEST(Player, SharedCopyWithTheGrantPlaysAndUpdates)
{
    const std::string installed = ForEveryone();
    ExpectGameRunsAndUpdates(installed);
    EXPECT_FALSE(Writable(installed + "\\Player.txt")) << "the install folder itself stays closed";
    EXPECT_FALSE(Writable(installed + "\\Target Practice.exe"));
    EXPECT_TRUE(Writable(installed + "\\MorvessaArcade\\Player.txt"));
}
