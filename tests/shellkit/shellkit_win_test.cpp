#include <windows.h>
#include <process.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "arcade/ma_module_state.h"
#include "shell_driver.h"
#include "windows_shell.h"

namespace {

namespace fs = std::filesystem;

const char kGame[] = "Target Practice";

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

// The shell in a folder writes the arcade files, starts the game and shows its closing screen after
// it; with `update`, Other Games lets the arcade layer stage version 2 (SteerArcade), moved into place.
// With `staged` false, the arcade layer cannot stage the update, and the game goes on with the DLL it has.
void ExpectShellBringsUpTheGame(const std::string& shellPath, bool update = false, bool staged = true)
{
    const std::string arcade = shellPath.substr(0, shellPath.rfind('\\')) + "\\MorvessaArcade\\";
    const std::string shipped = ReadFileBytes(arcade + "MorvessaArcade.dll");
    TempFolder journals;
    SetDemoGameBehaviour("exitafter=1500", journals.File("game.txt"));
    ParkMouse();
    ChildRun shell;
    ASSERT_TRUE(shell.Start(shellPath));
    HWND wrapper = shell.WaitWindow(kWrapperClass, 15000);
    SetDemoGameBehaviour("", "");
    ASSERT_NE(wrapper, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return !ReadJournal(journals.File("game.txt")).empty(); }, 10000)) << "the game started";
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(wrapper) != FALSE; }, 10000)) << "the closing screen";
    EXPECT_EQ(WindowText(wrapper), kGame);
    EXPECT_EQ(ReadFileBytes(arcade + "Application.dat") + ReadFileBytes(arcade + "Channel.dat"), "1001\r\n7\r\n");
    if (!update)
        return;
    const std::string newer = ReadFileBytes(ProgramFolder() + "arcade-variants\\version2\\MorvessaArcade.dll");
    ASSERT_FALSE(newer.empty() || shipped == newer);
    ASSERT_TRUE(ClickButtonWhenHovered(wrapper, kOtherGamesLeft));
    if (!staged) {
        Sleep(5000);
        EXPECT_TRUE(ReadFileBytes(arcade + "MorvessaArcade.dll") == shipped) << "the shipped DLL runs on";
        EXPECT_TRUE(FilesBelow(arcade + "Update").empty());
        return;
    }
    EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(arcade + "MorvessaArcade.dll") == newer; }, 15000))
        << "the staged update was not applied";
    EXPECT_TRUE(ReadFileBytes(arcade + "Backup\\MorvessaArcade.dll") == shipped) << "the old DLL is the backup";
    EXPECT_TRUE(FilesBelow(arcade + "Update").empty()) << "the update folder emptied";
}

// The installed shell or game image started, with a game that plays on for two minutes.
bool StartPlaying(ChildRun& game, const std::string& path)
{
    TempFolder journals;
    SetDemoGameBehaviour("exitafter=120000", journals.File("game.txt"));
    const bool playing = game.Start(path) && WaitUntil([&] { return !ReadJournal(journals.File("game.txt")).empty(); }, 15000);
    SetDemoGameBehaviour("", "");
    return playing;
}

// The arcade layer asks for version 2 after two frames of a menu session.
void SteerArcade(const std::string& installed)
{
    std::ofstream(installed + "\\MorvessaArcade\\ArcadeTest.txt", std::ios::binary)
        << "update_after_frames=2\r\nupdate_source=" << ProgramFolder() << "arcade-variants\\version2\\MorvessaArcade.dll\r\n";
}

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Morvessa Demo 1001";

// A value of the uninstall entry, numbers in decimal.
std::string Registered(HKEY root, const char* value, const char* key = kUninstallKey)
{
    char data[1024] = "";
    DWORD size = sizeof(data);
    DWORD type = 0;
    if (RegGetValueA(root, key, value, RRF_RT_ANY, &type, data, &size) != ERROR_SUCCESS)
        return "(none)";
    return type == REG_DWORD ? std::to_string(*reinterpret_cast<DWORD*>(data)) : std::string(data);
}

// The game's shortcut in a folder as "TARGET ICON,INDEX in FOLDER", or "" when there is none.
std::string Shortcut(int folder, const char* name = "Target Practice")
{
    return ReadShortcut(KnownFolder(folder) + "\\" + name + ".lnk").place;
}

const char kAppId[] = "MorvessaDemo.Game1001";

const std::string kMade = ProgramFolder() + "shellkit-installer\\";
const std::string kSetup = kMade + "Target Practice Setup.exe";
const std::string kSetup13 = kMade + "Target Practice 1.3 Setup.exe";
const std::string kOtherSetup = kMade + "Other Studio Setup.exe";
const std::string kPerUserFolder = KnownFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Morvessa Demo\\Target Practice";
const std::string kOtherFolder = KnownFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Other Studio\\Target Practice";
const std::string kSharedFolder = KnownFolder(CSIDL_PROGRAM_FILES) + "\\Morvessa Demo\\Target Practice";
const char kOtherKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other Studio 1001";

// The exit codes of the setup and the uninstaller that deployment tools act on.
const DWORD kRunning = 3, kForeignFolder = 4, kOlderVersion = 5, kNoRights = 6, kWriteFailed = 7, kUnopenable = 8,
            kInstalledForEveryone = 9;

std::string Log(const char* kind)
{
    return (fs::temp_directory_path() / (std::string("Target Practice ") + kind + ".log")).string();
}

// Nothing of the game left on the machine, whatever a test before did.
void NothingInstalled()
{
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
        for (const char* key : {kUninstallKey, kOtherKey})
            RegDeleteTreeA(root, key);
    // The publishers' folders whole: a faulty setup may have installed into one.
    for (const std::string& folder : {kPerUserFolder, kSharedFolder, kOtherFolder})
        DeleteFolderTree(folder.substr(0, folder.rfind('\\')).c_str());
    for (int folder : {CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS, CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY})
        for (const char* name : {"\\Target Practice.lnk", "\\Target Practice (Other Studio).lnk"})
            DeleteFileA((KnownFolder(folder) + name).c_str());
}

// The uninstaller as Add/Remove Programs runs it, silent, waited for until the entry is gone.
void Uninstall(HKEY root, const std::string& folder)
{
    DeleteFileA(Log("uninstall").c_str());
    ChildRun uninstall;
    ASSERT_TRUE(uninstall.Start(folder + "\\Uninstall.exe", "/S"));
    EXPECT_TRUE(WaitUntil([&] { return Registered(root, "DisplayName") == "(none)"; }, 30000));
    EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(Log("uninstall")).find("Uninstalled") != std::string::npos; }, 30000));
}

// The uninstaller as a player runs it (it goes on in a copy of itself), through to its last
// page: that page's text.
std::string UninstallWithPages(const std::string& folder)
{
    ChildRun uninstall;
    HWND window = nullptr;
    HWND page = nullptr;
    const bool shown = uninstall.Start(folder + "\\Uninstall.exe") && WaitUntil([&] {
        window = FindWindowA("#32770", nullptr);
        return window != nullptr && WindowText(window).rfind("Target Practice Uninstall", 0) == 0;
    }, 20000);
    if (!shown || !PressUntil(window, IDOK, [&] { return (page = WaitControl(window, "has been removed", 0, true)) != nullptr; }))
        return "(no last page)";
    const std::string text = WindowText(page);
    PressUntil(window, IDOK, [&] { return IsWindow(window) == FALSE; });
    return text;
}

TEST(ShellkitOnWindows, ByDefaultThePlayerInstallsForThemselvesAndTheUninstallerKeepsOnlyWhatTheGameWrote)
{
    NothingInstalled();
    const auto source = FilesBelow(kMade + kGame);
    ASSERT_FALSE(source.empty());
    ASSERT_EQ(RunToEnd(kSetup, "/S"), 0u);
    const std::string installed = kPerUserFolder;
    auto expected = source;
    expected["Uninstall.exe"] = ReadFileBytes(installed + "\\Uninstall.exe");
    expected["Uninstall.lst"] = ReadFileBytes(installed + "\\Uninstall.lst");
    EXPECT_TRUE(FilesBelow(installed) == expected) << "the installed files are the folder's, byte for byte";

    const std::string exe = installed + "\\Target Practice.exe";
    const std::string icon = IconImage(kMade + "Target Practice\\Target Practice.MWG");
    ASSERT_FALSE(icon.empty());
    EXPECT_TRUE(IconImage(kSetup) == icon) << "the setup wears the game's icon";
    EXPECT_TRUE(IconImage(installed + "\\Uninstall.exe") == icon) << "and so does the uninstaller";
    for (int folder : {CSIDL_PROGRAMS, CSIDL_DESKTOPDIRECTORY})
        EXPECT_EQ(Shortcut(folder), exe + " " + installed + "\\Target Practice.MWG,0 in " + installed);
    for (int folder : {CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_DESKTOPDIRECTORY})
        EXPECT_EQ(Shortcut(folder), "") << "nothing for the other accounts";
    // Wine's shortcuts take the ID and keep nothing; Windows' keep it.
    const std::string installLog = ReadFileBytes(Log("install"));
    for (int folder : {CSIDL_PROGRAMS, CSIDL_DESKTOPDIRECTORY}) {
        const std::string link = KnownFolder(folder) + "\\Target Practice.lnk";
        EXPECT_NE(installLog.find("Gave " + link + " the ID " + kAppId + "\r\n"), std::string::npos) << installLog;
        const std::string id = ReadShortcut(link).appId;
        if (id != "(not kept by this system)") {
            EXPECT_EQ(id, kAppId);
        }
    }
    EXPECT_TRUE(DpiAware(kSetup));
    EXPECT_TRUE(DpiAware(installed + "\\Uninstall.exe"));
    uint64_t bytes = 0;
    for (const auto& file : source)
        bytes += file.second.size();
    EXPECT_EQ(Registered(HKEY_CURRENT_USER, "DisplayName"), kGame);
    EXPECT_EQ(Registered(HKEY_CURRENT_USER, "Publisher"), "Morvessa Demo");
    EXPECT_EQ(Registered(HKEY_CURRENT_USER, "DisplayVersion"), "1.2.3");
    EXPECT_EQ(Registered(HKEY_CURRENT_USER, "EstimatedSize"), std::to_string((bytes + 1023) / 1024));
    EXPECT_EQ(Registered(HKEY_CURRENT_USER, "DisplayIcon"), installed + "\\Target Practice.MWG,0");
    EXPECT_EQ(Registered(HKEY_CURRENT_USER, "InstallLocation"), installed);
    EXPECT_EQ(Registered(HKEY_CURRENT_USER, "UninstallString"), "\"" + installed + "\\Uninstall.exe\" /CurrentUser");
    const std::string quiet = "\"" + installed + "\\Uninstall.exe\" /CurrentUser /S _?=" + installed;
    EXPECT_EQ(Registered(HKEY_CURRENT_USER, "QuietUninstallString"), quiet);
    EXPECT_EQ(Registered(HKEY_LOCAL_MACHINE, "DisplayName"), "(none)");

    // The arcade layer writes beside its DLL and updates itself there; what it stages next and the
    // game's save stay theirs.
    SteerArcade(installed);
    ExpectShellBringsUpTheGame(exe, true);
    std::ofstream(installed + "\\Saved Game.dat") << "level 3";
    fs::create_directories(installed + "\\MorvessaArcade\\Update");
    std::ofstream(installed + "\\MorvessaArcade\\Update\\MorvessaArcade.dll") << "staged";
    Uninstall(HKEY_CURRENT_USER, installed);
    EXPECT_TRUE(FilesBelow(installed) == (std::map<std::string, std::string>{{"Saved Game.dat", "level 3"}}));
    const std::string named = ReadFileBytes(Log("uninstall"));
    EXPECT_NE(named.find("Left in place: " + installed + "\\Saved Game.dat\r\n"), std::string::npos) << named;
    EXPECT_EQ(named.find("Left in place: " + installed + "\\MorvessaArcade"), std::string::npos) << named;
    for (int folder : {CSIDL_PROGRAMS, CSIDL_DESKTOPDIRECTORY})
        EXPECT_EQ(Shortcut(folder), "");

    // With nothing of the game's, the folder goes too, the uninstaller with it when a deployment
    // tool runs the quiet string and waits for its exit code.
    DeleteFileA((installed + "\\Saved Game.dat").c_str());
    ASSERT_EQ(RunToEnd(kSetup, "/S"), 0u);
    ExpectShellBringsUpTheGame(exe);
    ChildRun quietly;
    ASSERT_TRUE(quietly.Start(installed + "\\Uninstall.exe", "/CurrentUser /S _?=" + installed));
    EXPECT_EQ(quietly.WaitExit(30000), 0u);
    // Where Windows lets a running program be renamed it is gone; elsewhere (Wine) it stays until
    // Windows next starts.
    const auto left = FilesBelow(installed);
    EXPECT_TRUE(left.empty() || (left.size() == 1 && left.count("Uninstall.exe") == 1)) << left.begin()->first;
    if (!left.empty()) {
        char pending[32768] = "";
        DWORD size = sizeof(pending);
        RegGetValueA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                     "PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr, pending, &size);
        const std::string scheduled(pending, size);
        EXPECT_NE(scheduled.find(installed + "\\Uninstall.exe"), std::string::npos) << "removed when Windows starts";
    }
    EXPECT_EQ(Registered(HKEY_CURRENT_USER, "DisplayName"), "(none)");
    NothingInstalled();
}

TEST(ShellkitOnWindows, ForEveryoneOnlyWhenAskedAndAPlayerGetsNoSecondCopyBesideIt)
{
    NothingInstalled();
    ASSERT_EQ(RunToEnd(kSetup, "/S /AllUsers"), 0u);
    const std::string installed = kSharedFolder;
    EXPECT_EQ(Registered(HKEY_LOCAL_MACHINE, "InstallLocation"), installed);
    EXPECT_EQ(Registered(HKEY_LOCAL_MACHINE, "UninstallString"), "\"" + installed + "\\Uninstall.exe\" /AllUsers");
#ifndef _WIN64
    HKEY other = nullptr;
    EXPECT_NE(installed.find("\\Program Files (x86)\\"), std::string::npos);
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ | KEY_WOW64_64KEY, &other), ERROR_SUCCESS)
        << "a 32-bit game's entry lies in the 32-bit registry view only";
#endif
    EXPECT_TRUE(fs::exists(installed + "\\Target Practice.exe"));
    EXPECT_NE(Shortcut(CSIDL_COMMON_PROGRAMS), "");

    // A player's own setup over it: a refusal that says where the copy is, and nothing made.
    EXPECT_EQ(RunToEnd(kSetup13, "/S /CurrentUser"), kInstalledForEveryone);
    EXPECT_EQ(Registered(HKEY_CURRENT_USER, "DisplayName"), "(none)");
    EXPECT_FALSE(fs::exists(kPerUserFolder));
    {
        ChildRun withPages;
        ASSERT_TRUE(withPages.Start(kSetup13, "/CurrentUser"));
        HWND box = withPages.WaitMessageBox("Target Practice Setup", 20000);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box), "Target Practice is already installed for anyone using this computer, in " +
                                           installed + ". To update it, run this setup as an administrator.");
        PressButton(box, IDOK);
        EXPECT_EQ(withPages.WaitExit(10000), kInstalledForEveryone);
    }
    EXPECT_EQ(Registered(HKEY_LOCAL_MACHINE, "DisplayVersion"), "1.2.3");
    Uninstall(HKEY_LOCAL_MACHINE, installed);
    EXPECT_TRUE(WaitUntil([&] { return !fs::exists(installed); }, 10000));
    NothingInstalled();
}

TEST(ShellkitOnWindows, NeitherSetupNorUninstallerTouchesAGameThatRunsAndAnUpgradeKeepsANewerArcadeDllAndWhatTheGameWrote)
{
    NothingInstalled();
    ASSERT_EQ(RunToEnd(kSetup, "/S"), 0u);
    const std::string installed = kPerUserFolder;
    for (const char* part : {"Target Practice.exe", "Target Practice.MWG"}) {
        SCOPED_TRACE(part);
        // The shell with its game, or the game alone (the shell may have ended).
        ChildRun game;
        ASSERT_TRUE(StartPlaying(game, installed + "\\" + part));
        Sleep(1000);
        const auto before = FilesBelow(installed);

        EXPECT_EQ(RunToEnd(kSetup13, "/S"), kRunning) << "an upgrade";
        EXPECT_EQ(RunToEnd(kSetup, "/S"), kRunning) << "the same version again";
        // The uninstaller run from its folder, not from a copy of itself, so that its exit code is its own.
        EXPECT_EQ(RunToEnd(installed + "\\Uninstall.exe", "/S _?=" + installed), kRunning);
        EXPECT_TRUE(FilesBelow(installed) == before) << "nothing changed";
        EXPECT_EQ(Registered(HKEY_CURRENT_USER, "DisplayVersion"), "1.2.3");

        // With pages: the game named, Retry asks again while it runs, Cancel ends with nothing done.
        for (const bool uninstaller : {false, true}) {
            ChildRun withPages;
            const char* caption = uninstaller ? "Target Practice Uninstall" : "Target Practice Setup";
            ASSERT_TRUE(uninstaller ? withPages.Start(installed + "\\Uninstall.exe", "_?=" + installed)
                                    : withPages.Start(kSetup13));
            HWND box = withPages.WaitMessageBox(caption, 20000);
            ASSERT_NE(box, nullptr) << caption;
            EXPECT_EQ(MessageBoxText(box), "Target Practice is running. Close the game, then choose Retry.");
            PressButton(box, IDRETRY);
            EXPECT_TRUE(WaitUntil([&] { return IsWindow(box) == FALSE; }, 5000));
            box = withPages.WaitMessageBox(caption, 10000);
            ASSERT_NE(box, nullptr) << "asked again";
            PressButton(box, IDCANCEL);
            EXPECT_EQ(withPages.WaitExit(10000), kRunning);
        }
        EXPECT_TRUE(FilesBelow(installed) == before) << "nothing changed";
    }

    // Once the game has ended, the upgrade goes ahead. The arcade layer has updated itself to
    // version 2 since, its backup too, and the game has saved.
    ASSERT_TRUE(fs::exists(installed + "\\Levels\\Old Level.dat"));
    ExpectShellBringsUpTheGame(installed + "\\Target Practice.exe");
    for (const char* dll : {"\\MorvessaArcade\\MorvessaArcade.dll", "\\MorvessaArcade\\Backup\\MorvessaArcade.dll"})
        ASSERT_TRUE(CopyFileTo(ProgramFolder() + "arcade-variants\\version2\\MorvessaArcade.dll", installed + dll));
    std::ofstream(installed + "\\Saved Game.dat") << "level 3";
    auto kept = FilesBelow(installed);

    ASSERT_EQ(RunToEnd(kSetup13, "/S"), 0u);
    EXPECT_EQ(Registered(HKEY_CURRENT_USER, "DisplayVersion"), "1.3.0");
    EXPECT_EQ(Registered(HKEY_CURRENT_USER, "InstallLocation"), installed) << "one folder, one entry";
    kept.erase("Levels\\Old Level.dat");
    kept["Uninstall.exe"] = ReadFileBytes(installed + "\\Uninstall.exe");
    kept["Uninstall.lst"] = ReadFileBytes(installed + "\\Uninstall.lst");
    EXPECT_TRUE(FilesBelow(installed) == kept) << "the newer DLLs, the arcade's files and the save kept; the old level gone";
    const std::string log = ReadFileBytes(Log("install"));
    for (const char* dll : {"\\MorvessaArcade\\MorvessaArcade.dll", "\\MorvessaArcade\\Backup\\MorvessaArcade.dll"})
        EXPECT_NE(log.find("Kept " + installed + dll + ": its version 2.0.0.0 is newer than the setup's 1.0.0.0"),
                  std::string::npos) << log;
    EXPECT_NE(log.find("Removed " + installed + "\\Levels\\Old Level.dat: this version does not ship it"),
              std::string::npos) << log;
    ExpectShellBringsUpTheGame(installed + "\\Target Practice.exe");

    // A game started while the uninstaller's confirm page is up is still seen.
    const auto upgraded = FilesBelow(installed);
    ChildRun uninstaller;
    ASSERT_TRUE(uninstaller.Start(installed + "\\Uninstall.exe", "_?=" + installed));
    HWND page = uninstaller.WaitWindow("#32770", 20000);
    ASSERT_NE(page, nullptr);
    ASSERT_NE(WaitControl(page, "&Uninstall"), nullptr) << "the confirm page";
    ChildRun game;
    ASSERT_TRUE(StartPlaying(game, installed + "\\Target Practice.MWG"));
    PressButton(page, IDOK);
    HWND box = uninstaller.WaitMessageBox("Target Practice Uninstall", 20000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "Target Practice is running. Close the game, then choose Retry.");
    PressButton(box, IDCANCEL);
    ASSERT_NE(WaitControl(page, "Uninstallation Aborted"), nullptr);
    PressUntil(page, IDCANCEL, [&] { return uninstaller.WaitExit(0) != STILL_ACTIVE; });
    EXPECT_EQ(uninstaller.WaitExit(10000), kRunning);
    EXPECT_TRUE(FilesBelow(installed) == upgraded) << "nothing removed";
    NothingInstalled();
}

TEST(ShellkitOnWindows, ASetupChangesOnlyItsOwnGameAndOnlyForward)
{
    NothingInstalled();
    ASSERT_EQ(RunToEnd(kSetup13, "/S"), 0u);
    const std::string ours = kPerUserFolder;
    const auto installed = FilesBelow(ours);
    const std::string ourShortcut = Shortcut(CSIDL_PROGRAMS);

    // Another publisher's game of the same title: its own folder and shortcut, never ours or above.
    EXPECT_EQ(RunToEnd(kOtherSetup, "/S /D=" + ours), kForeignFolder);
    EXPECT_EQ(RunToEnd(kOtherSetup, "/S /D=" + fs::path(ours).parent_path().string()), kForeignFolder);
    ASSERT_EQ(RunToEnd(kOtherSetup, "/S"), 0u);
    EXPECT_EQ(Shortcut(CSIDL_PROGRAMS), ourShortcut) << "our shortcut is left alone";
    EXPECT_EQ(Shortcut(CSIDL_PROGRAMS, "Target Practice (Other Studio)").substr(0, kOtherFolder.size()), kOtherFolder);
    // A list that is not this game's is not acted on.
    const std::string otherList = ReadFileBytes(kOtherFolder + "\\Uninstall.lst");
    WriteFileBytes(kOtherFolder + "\\Uninstall.lst", ReadFileBytes(ours + "\\Uninstall.lst"));
    EXPECT_EQ(RunToEnd(kOtherFolder + "\\Uninstall.exe", "/S _?=" + kOtherFolder), kForeignFolder);
    EXPECT_TRUE(fs::exists(kOtherFolder + "\\Target Practice.exe"));
    WriteFileBytes(kOtherFolder + "\\Uninstall.lst", otherList);
    ASSERT_EQ(RunToEnd(kOtherFolder + "\\Uninstall.exe", "/S _?=" + kOtherFolder), 0u);
    EXPECT_EQ(Shortcut(CSIDL_PROGRAMS), ourShortcut);
    EXPECT_TRUE(FilesBelow(ours) == installed) << "the other game's setup and uninstaller left ours whole";

    // Never back to an older version, unless asked; the newer one stays whole.
    EXPECT_EQ(RunToEnd(kSetup, "/S"), kOlderVersion);
    EXPECT_TRUE(FilesBelow(ours) == installed);
    EXPECT_EQ(Registered(HKEY_CURRENT_USER, "DisplayVersion"), "1.3.0");
    ASSERT_EQ(RunToEnd(kSetup, "/S /AllowOlder"), 0u);
    EXPECT_EQ(Registered(HKEY_CURRENT_USER, "DisplayVersion"), "1.2.3");

    // A write that fails halfway puts back what the setup had replaced, the old level included.
    fs::create_directories(ours + "\\MorvessaArcade\\Update");
    std::ofstream(ours + "\\MorvessaArcade\\Update\\MorvessaArcade.dll") << "staged by 1.2.3's arcade layer";
    const auto before = FilesBelow(ours);
    {
        // Read by the setup for its version, but neither renamed nor written while held.
        HANDLE held = CreateFileA((ours + "\\MorvessaArcade\\MorvessaArcade.dll").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        EXPECT_EQ(RunToEnd(kSetup13, "/S"), kWriteFailed);
        CloseHandle(held);
    }
    EXPECT_TRUE(FilesBelow(ours) == before) << "nothing replaced, nothing removed";
    EXPECT_EQ(Registered(HKEY_CURRENT_USER, "DisplayVersion"), "1.2.3");
    ASSERT_EQ(RunToEnd(kSetup13, "/S"), 0u);
    EXPECT_TRUE(FilesBelow(ours + "\\MorvessaArcade\\Update").empty()) << "the staged older DLL is gone";
    EXPECT_FALSE(fs::exists(ours + "\\Levels\\Old Level.dat"));

    // Folders the shell could not open: a name outside the code page, a path past the limit.
    const std::wstring setup(kSetup13.begin(), kSetup13.end());
    EXPECT_EQ(_wspawnl(_P_WAIT, setup.c_str(), L"setup", L"/S", L"/D=C:\\\x0418\x0433\x0440\x044B", nullptr),
              static_cast<intptr_t>(kUnopenable));
    const std::string deep = "C:\\" + std::string(200, 'd') + "\\Target Practice";
    std::error_code gone;
    fs::remove_all(deep, gone);
    EXPECT_EQ(RunToEnd(kSetup13, "/S /D=" + deep), kUnopenable);
    EXPECT_FALSE(fs::exists(deep));

    // An uninstaller removes its own folder, whatever folder the entry names, and leaves the entry.
    const std::string copy = fs::path(ours).parent_path().string() + "\\Copied";
    const auto whole = FilesBelow(ours);
    DeleteFolderTree(copy.c_str());
    fs::copy(ours, copy, fs::copy_options::recursive);
    ASSERT_EQ(RunToEnd(copy + "\\Uninstall.exe", "/S _?=" + copy), 0u);
    EXPECT_EQ(FilesBelow(copy).size(), 1u) << "only the uninstaller, run in place, is left";
    EXPECT_TRUE(FilesBelow(ours) == whole);
    EXPECT_EQ(Registered(HKEY_CURRENT_USER, "InstallLocation"), ours);
    EXPECT_EQ(Shortcut(CSIDL_PROGRAMS), ourShortcut);
    DeleteFolderTree(copy.c_str());

    // The uninstaller removes a link the arcade folder holds, not what it points to.
    TempFolder elsewhere;
    elsewhere.Write("kept.txt", "kept");
    fs::create_directories(ours + "\\MorvessaArcade\\Arcade");
    std::error_code linked;
    fs::create_directory_symlink(elsewhere.path, ours + "\\MorvessaArcade\\Arcade\\link", linked);
    Uninstall(HKEY_CURRENT_USER, ours);
    EXPECT_EQ(ReadFileBytes(elsewhere.File("kept.txt")), "kept") << linked.message();
    EXPECT_FALSE(fs::exists(ours));
    NothingInstalled();
}

TEST(ShellkitOnWindows, ThePagesOfferThePlayerTheirOwnFolderUnderThePublishersNameAndEndWithPlay)
{
    NothingInstalled();
    SetDemoGameBehaviour("exitafter=1500", "");
    ChildRun setup;
    ASSERT_TRUE(setup.Start(kSetup));
    HWND window = setup.WaitWindow("#32770", 20000);
    ASSERT_NE(window, nullptr);
    HWND forMe = WaitControl(window, "Install just for me");
    HWND forAnyone = WaitControl(window, "Install for anyone using this computer");
    ASSERT_NE(forMe, nullptr);
    ASSERT_NE(forAnyone, nullptr);
    EXPECT_TRUE(Checked(forMe));
    EXPECT_FALSE(Checked(forAnyone));
    EXPECT_EQ(WindowText(GetDlgItem(window, 1028)), "Morvessa Demo") << "the branding line";
    const auto shown = [&](const std::string& text) { return [&window, text] { return WaitControl(window, text, 0) != nullptr; }; };
    EXPECT_TRUE(PressUntil(window, IDOK, shown(kPerUserFolder))) << "the folder offered";
    // A folder the game could not open is refused there, and one that works put in its place.
    HWND field = WaitControl(window, kPerUserFolder);
    SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(("C:\\" + std::string(240, 'd')).c_str()));
    PressButton(window, IDOK);
    HWND box = setup.WaitMessageBox("Target Practice Setup", 10000);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(MessageBoxText(box).find(" the game can open. Choose another folder, such as C:\\Games\\Morvessa Demo\\Target "
                                       "Practice."), std::string::npos) << MessageBoxText(box);
    PressButton(box, IDOK);
    EXPECT_TRUE(WaitUntil(shown("C:\\Games\\Morvessa Demo\\Target Practice"), 5000));
    SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kPerUserFolder.c_str()));
    ASSERT_TRUE(PressUntil(window, IDOK, shown("Select components to install:")));
    ASSERT_TRUE(PressUntil(window, IDOK, shown("Play Target Practice now")));
    HWND play = WaitControl(window, "Play Target Practice now");
    EXPECT_TRUE(Checked(play));
    // The page is set up once it has switched Cancel off; Finish pressed before that plays nothing.
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(window, IDCANCEL)) == FALSE; }, 10000));
    EXPECT_EQ(Registered(HKEY_CURRENT_USER, "InstallLocation"), kPerUserFolder);
    EXPECT_TRUE(PressUntil(window, IDOK, [&] { return setup.WaitExit(0) == 0; }));
    // Finish started the game: its shell comes up and, once the game has ended, closes on request.
    HWND wrapper = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (wrapper = FindWindowA(kWrapperClass, kGame)) != nullptr; }, 15000));
    SetDemoGameBehaviour("", "");
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(wrapper) != FALSE; }, 10000));
    PostMessageA(wrapper, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return IsWindow(wrapper) == FALSE; }, 10000));

    // The uninstaller's last page names what the game wrote, and nothing more when it wrote nothing.
    const std::string removed = "Target Practice has been removed from your computer.";
    EXPECT_EQ(UninstallWithPages(kPerUserFolder), removed);
    ASSERT_EQ(RunToEnd(kSetup, "/S"), 0u);
    std::ofstream(kPerUserFolder + "\\Saved Game.dat") << "level 3";
    fs::create_directories(kPerUserFolder + "\\Replays");
    const std::string named = UninstallWithPages(kPerUserFolder);
    EXPECT_EQ(named.find(removed + "\r\n\r\nKept, as the game wrote them:\r\n"), 0u) << named;
    for (const char* kept : {"\\Replays", "\\Saved Game.dat"})
        EXPECT_NE(named.find("\r\n" + kPerUserFolder + kept), std::string::npos) << named;
    EXPECT_EQ(named.size(), removed.size() + 33 + 2 * (2 + kPerUserFolder.size()) + 8 + 15) << named;
    NothingInstalled();
}

}  // namespace

// A player's standard account, step by step in the sessions that player_account.sh makes (ctest
// does not list these): an administrator's copy for everyone, and what a player meets in it.
TEST(PlayerAccount, AdministratorInstallsForAllUsers)
{
    const std::string icacls = KnownFolder(CSIDL_SYSTEM) + "\\icacls";
    // The demo game, as icacls.exe in this prefix, journals its command line and succeeds; the
    // script applies the grant from that journal.
    DeleteFileA((icacls + ".journal").c_str());
    SetDemoGameBehaviour("windows=0;exitafter=0", icacls + ".journal");
    ASSERT_EQ(RunToEnd(kSetup, "/S /AllUsers"), 0u);
    SetDemoGameBehaviour("", "");
    const std::string installed = kSharedFolder;
    EXPECT_EQ(Registered(HKEY_LOCAL_MACHINE, "InstallLocation"), installed);
    std::vector<std::string> calls;
    for (const JournalLine& line : ReadJournal(icacls + ".journal"))
        if (line.event == "start")
            calls.push_back(line.rest.substr(line.rest.find(" cmdline=") + 9));
    const std::string arcade = "\"" + icacls + ".exe\" \"" + installed + "\\MorvessaArcade";
    const std::string closed = "\" /inheritance:r /grant:r *S-1-5-18:(OI)(CI)F *S-1-5-32-544:(OI)(CI)F "
                               "*S-1-5-32-545:(OI)(CI)RX /Q";
    EXPECT_EQ(calls, (std::vector<std::string>{arcade + "\" /grant *S-1-5-32-545:(AD,WD) *S-1-5-32-545:(CI)(IO)M /Q",
                                               arcade + "\\Update" + closed, arcade + "\\Backup" + closed}))
        << "Users may add to the arcade folder and change what its folders hold, but none of its code, nor "
           "what becomes its code";
    SteerArcade(installed);
}

TEST(PlayerAccount, PlayerCannotInstallForAllUsers)
{
    const DWORD code = RunToEnd(kSetup, "/S /AllUsers");
    EXPECT_TRUE(code != 0 && code != 0xFFFFFFFF) << code;
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        EXPECT_EQ(Registered(root, "DisplayName"), "(none)") << "nothing registered";
    EXPECT_EQ(Shortcut(CSIDL_COMMON_PROGRAMS), "");
}

// The copy for everyone as Program Files leaves it to a standard user, without the grant.
TEST(PlayerAccount, SharedCopyWithoutTheGrantStopsAtTheArcadeLayer)
{
    const std::string installed = kSharedFolder;
    ChildRun shell;
    ASSERT_TRUE(shell.Start(installed + "\\Target Practice.exe"));
    HWND box = shell.WaitMessageBox("Application Error", 15000);
    ASSERT_NE(box, nullptr) << "the game came up although the arcade layer cannot write its files";
    EXPECT_EQ(MessageBoxText(box), "There was an error initializing the application. It will now exit.");
    PressButton(box, IDOK);
    EXPECT_EQ(shell.WaitExit(10000), 0u);
    EXPECT_FALSE(fs::exists(installed + "\\MorvessaArcade\\Application.dat"));
}

// Neither an upgrade nor the uninstaller can change that copy for a player: both end at once.
TEST(PlayerAccount, PlayerCannotChangeTheSharedCopy)
{
    const std::string installed = kSharedFolder;
    const auto before = FilesBelow(installed);
    EXPECT_EQ(RunToEnd(kSetup13, "/S"), kNoRights);
    EXPECT_EQ(RunToEnd(installed + "\\Uninstall.exe", "/S _?=" + installed), kNoRights);
    EXPECT_TRUE(FilesBelow(installed) == before);
    EXPECT_EQ(Registered(HKEY_LOCAL_MACHINE, "DisplayVersion"), "1.2.3");
}

// The same copy once the grants are applied: the game works, its arcade layer writes its own
// files, and nothing that every account loads can be changed, so an update waits.
TEST(PlayerAccount, SharedCopyWithTheGrantPlaysButItsCodeStaysClosed)
{
    const std::string installed = kSharedFolder;
    ExpectShellBringsUpTheGame(installed + "\\Target Practice.exe", true, false);
    EXPECT_FALSE(std::ofstream(installed + "\\Player.txt")) << "the install folder stays closed";
    for (const char* code : {"\\Target Practice.exe", "\\MorvessaArcade\\MorvessaArcade.dll",
                             "\\MorvessaArcade\\Backup\\MorvessaArcade.dll"})
        EXPECT_FALSE(std::ofstream(installed + code, std::ios::app)) << code;
    EXPECT_FALSE(std::ofstream(installed + "\\MorvessaArcade\\Update\\MorvessaArcade.dll")) << "nothing staged";
    EXPECT_TRUE(std::ofstream(installed + "\\MorvessaArcade\\Player.txt"));
}

// An administrator who plays lets the arcade layer update itself.
TEST(PlayerAccount, AdministratorPlaysAndTheUpdateApplies)
{
    ExpectShellBringsUpTheGame(kSharedFolder + "\\Target Practice.exe", true);
}
