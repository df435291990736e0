#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "harness.h"

namespace {

const char kGame[] = "Target Practice";
const char kWrapperClass[] = "MorvessaGameWrapper";

// Every file below a folder, by its path relative to it, with its contents.
std::map<std::string, std::string> FilesBelow(const std::string& folder, const std::string& prefix = "")
{
    std::map<std::string, std::string> files;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return files;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            const auto inner = FilesBelow(folder + "\\" + name, prefix + name + "\\");
            files.insert(inner.begin(), inner.end());
            if (inner.empty())
                files[prefix + name + "\\"] = "";
        } else {
            files[prefix + name] = ReadFileBytes(folder + "\\" + name);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return files;
}

std::string KitArguments(const std::string& folder)
{
    const std::string bin = ProgramFolder();
    return "new \"" + folder + "\" --name \"" + kGame + "\" --app-id 1001 --channel 7 --game \"" + bin +
           "demo-game.exe\" --background \"" + bin + "testdata\\Background.jpg\" --arcade \"" + bin +
           "MorvessaArcade.dll\" --publisher \"Morvessa Demo\"";
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
    char title[256] = "";
    GetWindowTextA(wrapper, title, sizeof(title));
    EXPECT_STREQ(title, kGame);
    SetDemoGameBehaviour("", "");
}

struct ShortcutFacts {
    std::string target;
    std::string icon;
    int iconIndex = -1;
    std::string workingFolder;
};

bool ReadShortcut(const std::string& path, ShortcutFacts& facts)
{
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return false;
    IPersistFile* file = nullptr;
    bool loaded = false;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
        loaded = SUCCEEDED(file->Load(wide, STGM_READ));
        file->Release();
    }
    char text[MAX_PATH] = "";
    if (loaded && SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, 0)))
        facts.target = text;
    if (loaded && SUCCEEDED(link->GetIconLocation(text, MAX_PATH, &facts.iconIndex)))
        facts.icon = text;
    if (loaded && SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH)))
        facts.workingFolder = text;
    link->Release();
    return loaded;
}

std::string Shortcut(int folder)
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path);
    return std::string(path) + "\\Target Practice.lnk";
}

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Target Practice";

bool UninstallKeyExists()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

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
    const std::string folder = place.File("Target Practice");
    const std::string kit = ProgramFolder() + "shellkit.exe";
    ASSERT_EQ(RunToEnd(kit, KitArguments(folder)), 0u);
    EXPECT_EQ(RunToEnd(kit, "check \"" + folder + "\""), 0u);
    EXPECT_EQ(RunToEnd(kit, KitArguments(folder)), 1u) << "the folder exists now";
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
    ASSERT_GT(expected["Uninstall.exe"].size(), 0u);
    EXPECT_TRUE(FilesBelow(installed) == expected) << "the installed files are the folder's, byte for byte";

    CoInitialize(nullptr);
    const std::string exe = installed + "\\Target Practice.exe";
    for (int folder : {CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_DESKTOPDIRECTORY}) {
        ShortcutFacts shortcut;
        SCOPED_TRACE(folder);
        ASSERT_TRUE(ReadShortcut(Shortcut(folder), shortcut));
        EXPECT_EQ(shortcut.target, exe);
        EXPECT_EQ(shortcut.icon, installed + "\\Target Practice.MWG");
        EXPECT_EQ(shortcut.iconIndex, 0);
        EXPECT_EQ(shortcut.workingFolder, installed);
    }
    CoUninitialize();
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
    std::map<std::string, std::string> left;
    for (const auto& file : FilesBelow(installed))
        if (expected.count(file.first) == 0)
            left.insert(file);
    ASSERT_GE(left.size(), 2u);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string log = std::string(temp) + "Target Practice uninstall.log";
    DeleteFileA(log.c_str());
    {
        ChildRun uninstall;
        ASSERT_TRUE(uninstall.Start(installed + "\\Uninstall.exe", "/S"));
        // It runs on from a copy of itself, so its own file can go too.
        EXPECT_TRUE(WaitUntil([&] { return !UninstallKeyExists() && FilesBelow(installed) == left; }, 30000));
        WaitUntil([&] { return ReadFileBytes(log).find("Uninstalled") != std::string::npos; }, 10000);
    }
    for (int folder : {CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_DESKTOPDIRECTORY})
        EXPECT_EQ(GetFileAttributesA(Shortcut(folder).c_str()), INVALID_FILE_ATTRIBUTES);
    const std::string named = ReadFileBytes(log);
    for (const auto& file : left)
        EXPECT_NE(named.find("Left in place: " + installed + "\\" + file.first + "\r\n"), std::string::npos) << named;
}

}  // namespace
