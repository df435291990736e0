#include <gtest/gtest.h>

#include "shell_driver.h"

TEST(CloseRequest, WhileTheGameHasAWindowAsksEachTimeNoKeepsEverythingAndYesClosesTheGame)
{
    ShellRun run;
    ASSERT_TRUE(run.Start(""));
    ASSERT_TRUE(WaitUntil([&] { return run.GamePids().size() == 1 && run.GameWindow(run.GamePids()[0]); }));
    HWND game = run.GameWindow(run.GamePids()[0]);
    ASSERT_TRUE(WaitUntil([&] { return IsForegroundOf(run.GamePids()[0]); }, 3000));

    PostMessageA(run.wrapper, WM_CLOSE, 0, 0);
    HWND box = run.shell.WaitMessageBox("Confirm Exit");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "Are you sure you want to Exit?\n\nYour game will be closed and all progress lost.");
    EXPECT_EQ(GetWindow(box, GW_OWNER), run.wrapper);
    PressButton(box, IDNO);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    Sleep(1000);
    EXPECT_EQ(run.shell.WaitExit(0), STILL_ACTIVE);
    EXPECT_EQ(run.shell.FindWindowOf("#32770"), nullptr) << "asked once";
    EXPECT_TRUE(IsWindow(game));
    EXPECT_FALSE(IsWindowVisible(run.wrapper));
    EXPECT_TRUE(JournalMessages(run.gameJournal, {"WM_CLOSE", "WM_SYSCOMMAND", "WM_QUIT"}).empty());

    // Shown beside the game's window (from outside, as a player might restore it), the wrapper has its
    // size checked on every tick: a drag by the title bar must keep the new place.
    ShowWindow(run.wrapper, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] { return IsForegroundOf(run.shell.process.dwProcessId); }, 3000));
    RECT before = {}, after = {};
    GetWindowRect(run.wrapper, &before);
    const POINT grip = {before.left + 200, before.top + 10};
    DragOnScreen(grip, POINT{grip.x - 100, grip.y + 60});
    OffsetRect(&before, -100, 60);
    const auto moved = [&] { return GetWindowRect(run.wrapper, &after), !EqualRect(&after, &before); };
    EXPECT_TRUE(WaitUntil([&] { return !moved(); }, 2000)) << after.left << "," << after.top;
    EXPECT_FALSE(WaitUntil(moved, 500)) << "put back at " << after.left << "," << after.top;
    // The game brought in front: the wrapper comes back in front of it where it stands.
    const size_t minimised = JournalMessages(run.gameJournal, {"WM_SYSCOMMAND"}).size();
    SetForegroundWindow(game);
    ASSERT_TRUE(WaitUntil([&] {
        return JournalMessages(run.gameJournal, {"WM_SYSCOMMAND"}).size() > minimised &&
               IsForegroundOf(run.shell.process.dwProcessId);
    }, 3000)) << "the game minimised again, the wrapper in front";
    EXPECT_FALSE(WaitUntil(moved, 500)) << "put back at " << after.left << "," << after.top;

    PostMessageA(run.wrapper, WM_CLOSE, 0, 0);
    box = run.shell.WaitMessageBox("Confirm Exit");
    ASSERT_NE(box, nullptr);
    PressButton(box, IDYES);
    EXPECT_EQ(run.shell.WaitExit(10000), 0u);
    // Asked to close, the game closed by itself: no harder step was needed.
    EXPECT_EQ(JournalMessages(run.gameJournal, {"WM_CLOSE", "WM_QUIT"}), std::vector<std::string>{"WM_CLOSE"});
    const std::vector<JournalLine> lines = ReadJournal(run.gameJournal);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().event + " " + lines.back().rest, "exit code=0");
}
