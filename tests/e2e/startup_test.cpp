#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "demo_game_control.h"
#include "game_folder.h"
#include "process_driver.h"

namespace {
const char kWrapperClass[] = "MorvessaGameWrapper";
const char kCorrupt[] = "Game files are corrupt, please re-install game and try again.";

std::string Noise(size_t size, unsigned seed)
{
    std::string bytes(size, '\0');
    std::mt19937 random(seed);
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}
}  // namespace

TEST(Startup, BrokenSettingsEndWithAFatalErrorBeforeAnyWindow)
{
    const struct {
        const char* name;
        bool write;
        std::string settings;
        const char* message;
    } cases[] = {
        {"missing", false, "", "Could not get file size"},
        {"empty", true, "", kCorrupt},
        {"no name key", true, "Application ID=5\r\nDeveloper Channel ID 3\r\n", kCorrupt},
        {"binary garbage", true, Noise(4096, 1), kCorrupt},
        {"10 MB of garbage", true, Noise(10u << 20, 2), kCorrupt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GameFolder folder;
        if (c.write)
            folder.WriteSettings(c.settings);
        ChildRun shell;
        ASSERT_TRUE(shell.Start(folder.shellPath));
        HWND box = shell.WaitMessageBox("FATAL ERROR");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box), c.message);
        EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
        EXPECT_EQ(shell.FindWindowOf(kWrapperClass), nullptr);
        PressButton(box, IDOK);
        EXPECT_EQ(shell.WaitExit(10000), 0u);
    }
}

TEST(Startup, AnArcadeLayerThatFailsEndsStartUpBeforeAnyWindow)
{
    for (bool dllPresent : {false, true}) {
        SCOPED_TRACE(dllPresent ? "initialisation refused" : "DLL missing");
        GameFolder folder;
        folder.WriteSettings("Application Name=Sample Game\r\n");
        if (dllPresent)
            folder.WriteArcadeSettings("initialize_result=7\r\n");
        else
            DeleteFileA(folder.File("MorvessaArcade\\MorvessaArcade.dll").c_str());
        ChildRun shell;
        ASSERT_TRUE(shell.Start(folder.shellPath));
        HWND box = shell.WaitMessageBox("Application Error");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box), "There was an error initializing the application. It will now exit.");
        EXPECT_EQ(shell.FindWindowOf(kWrapperClass), nullptr);
        PressButton(box, IDOK);
        EXPECT_EQ(shell.WaitExit(10000), 0u);
    }
}

TEST(Startup, SecondShellSaysGameAlreadyRunningWithoutReadingSettings)
{
    GameFolder first;
    first.WriteSettings("Application Name=First Game\r\n");
    TempFolder journalFolder;
    const std::string journal = journalFolder.File("journal.txt");
    SetDemoGameBehaviour("", journal);
    ChildRun running;
    ASSERT_TRUE(running.Start(first.shellPath));
    HWND wrapper = running.WaitWindow(kWrapperClass);
    ASSERT_NE(wrapper, nullptr);

    // No settings file here: reading it would end in a fatal error instead.
    GameFolder second("Other");
    ChildRun another;
    ASSERT_TRUE(another.Start(second.shellPath));
    HWND box = another.WaitMessageBox("Game Already Running");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box),
              "You currently have another game running.\n\nIf you wish to run this one, please close the other one "
              "first.");
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    PressButton(box, IDOK);
    EXPECT_EQ(another.WaitExit(10000), 0xFFFFFFFFu);
    EXPECT_EQ(another.FindWindowOf(kWrapperClass), nullptr);

    // The first shell goes on, and on its way out asks its game to close.
    EXPECT_EQ(running.WaitExit(0), STILL_ACTIVE);
    PostMessageA(wrapper, WM_CLOSE, 0, 0);
    HWND confirm = running.WaitMessageBox("Confirm Exit");
    ASSERT_NE(confirm, nullptr) << "the game still has a window";
    PressButton(confirm, IDYES);
    EXPECT_EQ(running.WaitExit(10000), 0u);
    EXPECT_EQ(JournalMessages(journal, {"WM_CLOSE", "WM_SYSCOMMAND", "WM_QUIT"}), std::vector<std::string>{"WM_CLOSE"});
}

TEST(Startup, WindowIsCentredTitledAndHiddenWhileTheGameRuns)
{
    GameFolder folder;
    folder.WriteSettings("Application ID=1234\r\nApplication Name=Sample Game\r\nDeveloper Channel ID 42\r\n");
    TempFolder journalFolder;
    const std::string journal = journalFolder.File("journal.txt");
    const std::string arcadeJournal = journalFolder.File("arcade.txt");
    folder.WriteArcadeSettings("journal=" + arcadeJournal + "\r\n");
    SetDemoGameBehaviour("exitafter=1500", journal);
    ChildRun shell;
    ASSERT_TRUE(shell.Start(folder.shellPath));
    HWND wrapper = shell.WaitWindow(kWrapperClass);
    ASSERT_NE(wrapper, nullptr);
    EXPECT_EQ(WindowText(wrapper), "Sample Game");

    RECT client = {};
    GetClientRect(wrapper, &client);
    EXPECT_EQ(client.right, 720);
    EXPECT_EQ(client.bottom, 540);
    RECT outer = {};
    GetWindowRect(wrapper, &outer);
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(std::abs((outer.left - work.left) - (work.right - outer.right)), 1);
    EXPECT_LE(std::abs((outer.top - work.top) - (work.bottom - outer.bottom)), 1);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(wrapper, GWL_STYLE)) & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                                                                          WS_MAXIMIZEBOX | WS_THICKFRAME),
              static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));

    // The game runs in front; the wrapper stays hidden until it ends.
    ASSERT_TRUE([&] {
        for (int i = 0; i < 500 && ReadJournal(journal).size() < 2; ++i)
            Sleep(10);
        return ReadJournal(journal).size() >= 2;
    }());
    EXPECT_FALSE(IsWindowVisible(wrapper));
    const std::vector<JournalLine> lines = ReadJournal(journal);
    ASSERT_EQ(lines[0].event, "start");
    const std::string commandLine = lines[0].rest.substr(lines[0].rest.find("cmdline=") + 8);
    EXPECT_TRUE(commandLine == "Puzzle.MWG" || commandLine == "\"Puzzle.MWG\"") << commandLine;

    for (int i = 0; i < 500 && !IsWindowVisible(wrapper); ++i)
        Sleep(10);
    EXPECT_TRUE(IsWindowVisible(wrapper)) << "the wrapper comes back when the game has ended";

    // The exit code is the wParam of the last message the loop removed.
    Sleep(200);
    PostMessageA(wrapper, WM_CLOSE, 7, 0);
    EXPECT_EQ(shell.WaitExit(10000), 7u);

    // The settings' identity reached the arcade layer, which was shut down at the end.
    std::vector<std::string> arcadeCalls;
    std::ifstream arcadeLines(arcadeJournal);
    for (std::string line; std::getline(arcadeLines, line);)
        arcadeCalls.push_back(line);
    EXPECT_NE(std::find(arcadeCalls.begin(), arcadeCalls.end(), "madll_Initialize 1234 \"Sample Game\" 42 0 6 -> 0"),
              arcadeCalls.end());
    ASSERT_FALSE(arcadeCalls.empty());
    EXPECT_EQ(arcadeCalls.back(), "madll_ShutDown");
}
