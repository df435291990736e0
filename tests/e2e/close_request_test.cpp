#include <gtest/gtest.h>

#include <algorithm>

#include "demo_game_control.h"
#include "shell_driver.h"

namespace {

const char kQuestion[] = "Are you sure you want to Exit?\n\nYour game will be closed and all progress lost.";

// Runs the shell until its game shows a window in front; the game's process id.
DWORD StartWithGameInFront(ShellRun& run, const std::string& arcadeSettings)
{
    if (!run.Start("", arcadeSettings) || !WaitUntil([&] { return run.GamePids().size() == 1; }, 5000))
        return 0;
    const DWORD game = run.GamePids()[0];
    return WaitUntil([&] { return run.GameWindow(game) != nullptr && IsForegroundOf(game); }, 5000) ? game : 0;
}

BOOL CALLBACK CollectOther(HWND window, LPARAM into)
{
    auto& found = *reinterpret_cast<std::pair<HWND, std::vector<RECT>>*>(into);
    RECT rect;
    if (window != found.first && IsWindowVisible(window) && GetWindowRect(window, &rect))
        found.second.push_back(rect);
    return TRUE;
}

// Screen rectangles of the other visible top-level windows.
std::vector<RECT> OtherWindows(HWND wrapper)
{
    std::pair<HWND, std::vector<RECT>> found(wrapper, {});
    EnumWindows(CollectOther, reinterpret_cast<LPARAM>(&found));
    return found.second;
}

}  // namespace

TEST(CloseRequest, WhileTheGameHasAWindowAsksOnceAndOnlyYesEndsTheShell)
{
    ShellRun run;
    const DWORD game = StartWithGameInFront(run, "");
    ASSERT_NE(game, 0u);

    PostMessageA(run.wrapper, WM_CLOSE, 0, 0);
    HWND box = run.shell.WaitMessageBox("Confirm Exit");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), kQuestion);
    EXPECT_EQ(GetWindow(box, GW_OWNER), run.wrapper);
    PressButton(box, IDNO);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
    Sleep(1000);
    EXPECT_EQ(run.shell.WaitExit(0), STILL_ACTIVE);
    EXPECT_EQ(run.shell.FindWindowOf("#32770"), nullptr) << "asked once";
    EXPECT_NE(run.GameWindow(game), nullptr);
    EXPECT_FALSE(IsWindowVisible(run.wrapper));
    EXPECT_TRUE(JournalMessages(run.gameJournal, {"WM_CLOSE", "WM_SYSCOMMAND", "WM_QUIT"}).empty());

    PostMessageA(run.wrapper, WM_CLOSE, 0, 0);
    box = run.shell.WaitMessageBox("Confirm Exit");
    ASSERT_NE(box, nullptr);

    // While the box holds off every tick, the wrapper is shown from outside: its paint shows
    // the frame buffer exactly as the ticks of the hidden wrapper left it, never drawn into.
    SetWindowPos(run.wrapper, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Sleep(500);
    PixelCanvas shot(720, 540);
    CaptureClient(run.wrapper, shot);
    // Wine may leave another window's pixels where it overlapped the wrapper: those are skipped.
    const std::vector<RECT> others = OtherWindows(run.wrapper);
    int seen = 0;
    int drawn = 0;
    for (int y = 0; y < 540; y += 6) {
        for (int x = 0; x < 720; x += 6) {
            POINT at = {x, y};
            ClientToScreen(run.wrapper, &at);
            if (std::any_of(others.begin(), others.end(), [&](const RECT& r) { return PtInRect(&r, at); }))
                continue;
            ++seen;
            drawn += shot.At(x, y) != RGB(0, 0, 0);
        }
    }
    EXPECT_GT(seen, 1500);
    EXPECT_EQ(drawn, 0);

    PressButton(box, IDYES);
    EXPECT_EQ(run.shell.WaitExit(10000), 0u);
    // Asked to close, the game closed by itself: no harder step was needed.
    EXPECT_EQ(JournalMessages(run.gameJournal, {"WM_CLOSE", "WM_QUIT"}), std::vector<std::string>{"WM_CLOSE"});
    const std::vector<JournalLine> lines = ReadJournal(run.gameJournal);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().event + " " + lines.back().rest, "exit code=0");
}

TEST(CloseRequest, AMessageTheArcadeLayerConsumesGetsOneAndNothingElse)
{
    ShellRun run;
    const DWORD game = StartWithGameInFront(run, "consume=0x0010\r\n");
    ASSERT_NE(game, 0u);

    DWORD_PTR result = 0;
    ASSERT_NE(SendMessageTimeoutA(run.wrapper, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, &result), 0);
    EXPECT_EQ(result, 1u);
    Sleep(1000);
    EXPECT_EQ(run.shell.FindWindowOf("#32770"), nullptr) << "no question";
    EXPECT_EQ(run.shell.WaitExit(0), STILL_ACTIVE);
    EXPECT_NE(run.GameWindow(game), nullptr);
    bool consumed = false;
    for (const std::string& call : run.ArcadeCalls())
        consumed |= call.rfind("madll_HandleWindowsMessage msg=0x0010 ", 0) == 0 && call.find(" -> 1") != std::string::npos;
    EXPECT_TRUE(consumed);
}
