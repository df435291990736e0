#include <gtest/gtest.h>

#include <random>

#include "shell_driver.h"

TEST(Startup, BrokenSettingsOrArcadeLayerEndTheShellWithItsMessageBeforeAnyWindow)
{
    const char kCorrupt[] = "Game files are corrupt, please re-install game and try again.";
    const char kArcade[] = "There was an error initializing the application. It will now exit.";
    // 10 MB of noise without NUL bytes; its name only at the very end, read only when all of it is.
    std::string noise(10u << 20, 'x');
    std::mt19937 random(1);
    for (size_t i = 1; i < noise.size(); ++i)
        noise[i] = static_cast<char>(1 + random() % 255);
    const std::string name = "Application Name=Sample Game\r\n";
    const struct {
        const char* name;
        bool writeSettings;
        std::string settings;
        const char* arcade;  // none: no arcade DLL
        const char* caption;
        const char* message;
    } cases[] = {
        {"no settings", false, "", "", "FATAL ERROR", "Could not get file size"},
        {"empty settings", true, "", "", "FATAL ERROR", kCorrupt},
        {"no name", true, "Application ID=5\r\nDeveloper Channel ID 3\r\n", "", "FATAL ERROR", kCorrupt},
        {"no arcade DLL, 10 MB of settings", true, noise + "\r\n" + name, nullptr, "Application Error", kArcade},
        {"initialisation refused", true, name, "initialize_result=7\r\n", "Application Error", kArcade},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GameFolder folder;
        if (c.writeSettings)
            folder.WriteSettings(c.settings);
        if (c.arcade != nullptr)
            folder.WriteArcadeSettings(c.arcade);
        else
            DeleteFileA(folder.File("MorvessaArcade\\MorvessaArcade.dll").c_str());
        ChildRun shell;
        ASSERT_TRUE(shell.Start(folder.shellPath));
        HWND box = shell.WaitMessageBox(c.caption);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box), c.message);
        EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
        EXPECT_EQ(shell.FindWindowOf(kWrapperClass), nullptr);
        PressButton(box, IDOK);
        EXPECT_EQ(shell.WaitExit(10000), 0u);
    }
}

TEST(Startup, TheGameRunsInFrontOfAHiddenCentredWrapperAndASecondShellIsTurnedAway)
{
    ShellRun run;
    run.settings = "Application ID=1234\r\nApplication Name=Sample Game\r\nDeveloper Channel ID 42\r\n";
    ASSERT_TRUE(run.Start("exitafter=3000"));
    EXPECT_EQ(WindowText(run.wrapper), "Sample Game");
    RECT client = {}, outer = {};
    GetClientRect(run.wrapper, &client);
    EXPECT_EQ(client.right, 720);
    EXPECT_EQ(client.bottom, 540);
    GetWindowRect(run.wrapper, &outer);
    const RECT centre = CentredWrapperRect();
    EXPECT_TRUE(EqualRect(&outer, &centre)) << outer.left << "," << outer.top;

    ASSERT_TRUE(WaitUntil([&] { return run.GamePids().size() == 1 && IsForegroundOf(run.GamePids()[0]); }))
        << "the game is brought in front";
    EXPECT_FALSE(IsWindowVisible(run.wrapper));
    const std::string start = ReadJournal(run.gameJournal)[0].rest;
    const std::string commandLine = start.substr(start.find("cmdline=") + 8);
    EXPECT_TRUE(commandLine == "Puzzle.MWG" || commandLine == "\"Puzzle.MWG\"") << commandLine;

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
    EXPECT_EQ(another.FindWindowOf(kWrapperClass), nullptr);
    PressButton(box, IDOK);
    EXPECT_EQ(another.WaitExit(10000), 0xFFFFFFFFu);

    EXPECT_TRUE(run.WaitVisible(true)) << "the wrapper comes back when the game has ended";
    // The exit code is the wParam of the last message the loop removed, once the first frames are out.
    ASSERT_TRUE(WaitUntil([&] { return ShownCountdown(run.wrapper) >= 0; }, 2000));
    PostMessageA(run.wrapper, WM_CLOSE, 7, 0);
    EXPECT_EQ(run.shell.WaitExit(10000), 7u);
    // The settings' identity reached the arcade layer, which was shut down at the end.
    EXPECT_GE(run.FindCall("madll_Initialize 1234 \"Sample Game\" 42 0 6 -> 0"), 0);
    const std::vector<std::string> calls = run.ArcadeCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "madll_ShutDown");
}
