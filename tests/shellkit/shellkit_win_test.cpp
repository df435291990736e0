#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "harness.h"

namespace {

namespace fs = std::filesystem;

const char kGame[] = "Target Practice";
const char kWrapperClass[] = "MorvessaGameWrapper";

// Every file below a folder by its path inside it, with its bytes; an empty folder as "PATH\".
std::map<std::string, std::string> FilesBelow(const std::string& folder)
{
    std::map<std::string, std::string> files;
    std::error_code none;
    for (const auto& entry : fs::recursive_directory_iterator(folder, none)) {
        const std::string inside = entry.path().string().substr(folder.size() + 1);
        if (!entry.is_directory())
            files[inside] = ReadFileBytes(entry.path().string());
        else if (fs::is_empty(entry.path()))
            files[inside + "\\"] = "";
    }
    return files;
}

// The shell in a folder comes up, starts the game, and shows its closing screen once the game ends.
void ExpectShellBringsUpTheGame(const std::string& shellPath)
{
    TempFolder journals;
    SetDemoGameBehaviour("exitafter=1500", journals.File("game.txt"));
    ChildRun shell;
    ASSERT_TRUE(shell.Start(shellPath));
    HWND wrapper = shell.WaitWindow(kWrapperClass, 15000);
    ASSERT_NE(wrapper, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return !ReadJournal(journals.File("game.txt")).empty(); }, 10000)) << "the game started";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(wrapper) != FALSE; }, 10000)) << "the closing screen";
    EXPECT_EQ(WindowText(wrapper), kGame);
    SetDemoGameBehaviour("", "");
}

// The game's shortcut in a folder as "TARGET ICON,INDEX in FOLDER", or "" when there is none.
std::string Shortcut(int folder)
{
    wchar_t path[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path);
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    std::string facts;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load((std::wstring(path) + L"\\Target Practice.lnk").c_str(), STGM_READ))) {
        char target[MAX_PATH] = "", icon[MAX_PATH] = "", working[MAX_PATH] = "";
        int index = -1;
        link->GetPath(target, MAX_PATH, nullptr, 0);
        link->GetIconLocation(icon, MAX_PATH, &index);
        link->GetWorkingDirectory(working, MAX_PATH);
        facts = std::string(target) + " " + icon + "," + std::to_string(index) + " in " + working;
    }
    if (file != nullptr)
        file->Release();
    if (link != nullptr)
        link->Release();
    CoUninitialize();
    return facts;
}

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Target Practice";

// A value of the uninstall entry, numbers in decimal.
std::string Registered(const char* value)
{
    char data[1024] = "";
    DWORD size = sizeof(data);
    DWORD type = 0;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kUninstallKey, value, RRF_RT_ANY, &type, data, &size) != ERROR_SUCCESS)
        return "(none)";
    return type == REG_DWORD ? std::to_string(*reinterpret_cast<DWORD*>(data)) : std::string(data);
}

TEST(ShellkitOnWindows, NewThenCheckGiveNoErrorAndTheShellFromThatFolderBringsUpTheGame)
{
    TempFolder place;
    const std::string folder = place.File(kGame);
    const std::string bin = ProgramFolder();
    const std::string kit = bin + "shellkit.exe";
    const std::string layOut = "new \"" + folder + "\" --name \"" + kGame + "\" --app-id 1001 --channel 7 --game \"" +
                               bin + "demo-game.exe\" --background \"" + bin + "testdata\\Background.jpg\" --arcade \"" +
                               bin + "MorvessaArcade.dll\" --publisher \"Morvessa Demo\"";
    ASSERT_EQ(RunToEnd(kit, layOut), 0u);
    EXPECT_EQ(RunToEnd(kit, "check \"" + folder + "\""), 0u);
    EXPECT_EQ(RunToEnd(kit, layOut), 1u) << "the folder exists now";
    EXPECT_EQ(RunToEnd(kit, "check \"" + place.File("none") + "\""), 2u);
    ExpectShellBringsUpTheGame(folder + "\\Target Practice.exe");
}

TEST(ShellkitOnWindows, TheInstallerPutsTheFolderInPlaceAndTheUninstallerTakesBackExactlyThat)
{
    const std::string made = ProgramFolder() + "shellkit-installer\\";
    const std::string setup = made + "Target Practice Setup.exe";
    const auto source = FilesBelow(made + kGame);
    ASSERT_FALSE(source.empty());
    TempFolder place;
    const std::string installed = place.File("Installed Games\\Target Practice");
    ASSERT_EQ(RunToEnd(setup, "/S /D=" + installed), 0u);

    auto expected = source;
    expected["Uninstall.exe"] = ReadFileBytes(installed + "\\Uninstall.exe");
    EXPECT_TRUE(FilesBelow(installed) == expected) << "the installed files are the folder's, byte for byte";

    const std::string exe = installed + "\\Target Practice.exe";
    for (int folder : {CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_DESKTOPDIRECTORY})
        EXPECT_EQ(Shortcut(folder), exe + " " + installed + "\\Target Practice.MWG,0 in " + installed);
    uint64_t bytes = 0;
    for (const auto& file : source)
        bytes += file.second.size();
    EXPECT_EQ(Registered("DisplayName"), kGame);
    EXPECT_EQ(Registered("Publisher"), "Morvessa Demo");
    EXPECT_EQ(Registered("DisplayVersion"), "1.2.3");
    EXPECT_EQ(Registered("EstimatedSize"), std::to_string((bytes + 1023) / 1024));
    EXPECT_EQ(Registered("DisplayIcon"), installed + "\\Target Practice.MWG,0");
    EXPECT_EQ(Registered("InstallLocation"), installed);
    EXPECT_EQ(Registered("UninstallString"), "\"" + installed + "\\Uninstall.exe\" /AllUsers");
    EXPECT_EQ(Registered("QuietUninstallString"), "\"" + installed + "\\Uninstall.exe\" /AllUsers /S");

    ExpectShellBringsUpTheGame(exe);

    // What the game and its arcade layer wrote while they ran stays.
    std::ofstream(installed + "\\Saved Game.dat") << "level 3";
    std::ofstream(installed + "\\MorvessaArcade\\Channel.dat") << "channel";
    auto left = FilesBelow(installed);
    for (const auto& file : expected)
        left.erase(file.first);
    ASSERT_GE(left.size(), 2u);
    const std::string log = (fs::temp_directory_path() / "Target Practice uninstall.log").string();
    DeleteFileA(log.c_str());
    {
        ChildRun uninstall;
        ASSERT_TRUE(uninstall.Start(installed + "\\Uninstall.exe", "/S"));
        // It runs on from a copy of itself, so its own file can go too.
        EXPECT_TRUE(WaitUntil([&] { return Registered("DisplayName") == "(none)" && FilesBelow(installed) == left; }, 30000));
        WaitUntil([&] { return ReadFileBytes(log).find("Uninstalled") != std::string::npos; }, 10000);
    }
    for (int folder : {CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_DESKTOPDIRECTORY})
        EXPECT_EQ(Shortcut(folder), "");
    const std::string named = ReadFileBytes(log);
    for (const auto& file : left)
        EXPECT_NE(named.find("Left in place: " + installed + "\\" + file.first + "\r\n"), std::string::npos) << named;
}

}  // namespace
