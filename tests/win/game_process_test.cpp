#include <gtest/gtest.h>

#include "harness.h"
#include "host/app_identity.h"
#include "host/game_host.h"
#include "shell/screen_controller.h"
#include "shell/wrapper_window.h"

namespace {

const std::vector<std::string> kCloseMessages = {"WM_CLOSE", "WM_SYSCOMMAND", "WM_QUIT", "WM_DESTROY"};

// Each test starts and leaves the process record empty, whatever happened to its game.
struct GameProcess : testing::Test {
    TempFolder folder;
    std::string journal = folder.File("journal.txt");
    GameHost& host = GameHost::Instance();

    void Launch(const std::string& behaviour)
    {
        SetDemoGameBehaviour(behaviour, journal);
        host.LaunchGame();
        ASSERT_NE(host.processInfo.hProcess, nullptr) << "the demo game did not start";
    }

    DWORD ExitCodeAfterEnd()
    {
        DWORD code = 0;
        EXPECT_EQ(WaitForSingleObject(host.processInfo.hProcess, 5000), WAIT_OBJECT_0);
        GetExitCodeProcess(host.processInfo.hProcess, &code);
        return code;
    }

    void TearDown() override
    {
        if (host.processInfo.hProcess != nullptr) {
            TerminateProcess(host.processInfo.hProcess, 1);
            WaitForSingleObject(host.processInfo.hProcess, 5000);
        }
        host.ResetProcessRecord();
        DestroyWindow(WrapperWindow);
        WrapperWindow = nullptr;
    }
};

RECT WindowRect(HWND window)
{
    RECT rect = {0, 0, 0, 0};
    return GetWindowRect(window, &rect), rect;
}

BOOL CALLBACK TakeFirst(HWND window, LPARAM out)
{
    *reinterpret_cast<HWND*>(out) = window;
    return FALSE;
}

}  // namespace

TEST_F(GameProcess, AnEmptyRecordCostsNothingAStubbornGameGetsEveryStepThenIsTerminatedAndExitCode259CountsAsRunning)
{
    EXPECT_FALSE(host.IsGameRunning());
    const DWORD start = GetTickCount();
    host.CloseGame();
    EXPECT_LT(GetTickCount() - start, 1000u) << "with no game held nothing is waited for";

    Launch("ignore=all");
    ASSERT_TRUE(WaitUntil([&] { return host.FindGameWindow() != nullptr; }));
    host.CloseGame();
    ASSERT_NE(host.processInfo.hProcess, nullptr) << "the record is kept until the exit code is read";
    EXPECT_EQ(ExitCodeAfterEnd(), 0xFFFFFFFFu);
    EXPECT_EQ(JournalMessages(journal, kCloseMessages), kCloseMessages);
    EXPECT_NE(ReadFileBytes(journal).find("wparam=0xF060"), std::string::npos) << "WM_SYSCOMMAND carries SC_CLOSE";
    EXPECT_FALSE(host.IsGameRunning());

    Launch("windows=0;exitafter=50;exitcode=259");
    ASSERT_EQ(WaitForSingleObject(host.processInfo.hProcess, 5000), WAIT_OBJECT_0);
    EXPECT_TRUE(host.IsGameRunning()) << "exit code 259";
    EXPECT_NE(host.processInfo.hProcess, nullptr);
    EXPECT_EQ(host.FindGameWindow(), nullptr);
}

TEST_F(GameProcess, WindowsOfOtherThreadsAreNeverTheGamesAndEveryMainThreadWindowIsListedOnceUntilTheGameEnds)
{
    Launch("windows=0;threadwindow=1");
    HWND threadWindow = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (threadWindow = FindWindowA("MorvessaDemoGameThread", nullptr)) != nullptr; }));
    SetForegroundWindow(threadWindow);
    for (int pass = 0; pass < 5; ++pass) {
        EXPECT_EQ(host.FindGameWindow(), nullptr);
        EXPECT_FALSE(host.IsGameInForeground());
        Sleep(20);
    }
    EXPECT_EQ(GameWindowList.count, 0u);
    const DWORD start = GetTickCount();
    host.CloseGame();
    EXPECT_GE(GetTickCount() - start, 4900u) << "every wait runs in full when no window answers";
    EXPECT_EQ(ExitCodeAfterEnd(), 0xFFFFFFFFu);
    EXPECT_TRUE(JournalMessages(journal, kCloseMessages).empty());

    const uint32_t labelled = AppIdentity::Instance().windowsLabelled;
    Launch("windows=2;laterwindows=300;exitafter=2500");
    ASSERT_TRUE(WaitUntil([&] { return host.FindGameWindow(), GameWindowList.count >= 2; }));
    for (int pass = 0; pass < 5; ++pass)
        host.FindGameWindow();
    ASSERT_EQ(GameWindowList.count, 2u);
    EXPECT_EQ(AppIdentity::Instance().windowsLabelled - labelled, 2u) << "each window labelled once, on no later pass";
    HWND second = static_cast<HWND>(GameWindowList.data[1]);
    EXPECT_NE(GameWindowList.data[0], second);
    // The game window is whichever the enumeration reports first.
    HWND reportedFirst = nullptr;
    EnumThreadWindows(host.processInfo.dwThreadId, TakeFirst, reinterpret_cast<LPARAM>(&reportedFirst));
    EXPECT_EQ(host.FindGameWindow(), reportedFirst);
    SetForegroundWindow(second);
    EXPECT_TRUE(WaitUntil([&] { return host.IsGameInForeground(); }, 2000));
    ASSERT_TRUE(WaitUntil([&] { return !host.IsGameRunning(); }, 10000));
    EXPECT_EQ(GameWindowList.count, 0u);
    EXPECT_EQ(host.FindGameWindow(), nullptr);
    EXPECT_FALSE(host.IsGameInForeground());
}

TEST_F(GameProcess, ActivateGameMovesTheGameBackToItsSavedPlaceOnlyWhenItStandsElsewhere)
{
    // Any visible window can stand in for the wrapper, which ActivateGame hides.
    WrapperWindow = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 720, 540, nullptr, nullptr, nullptr,
                                    nullptr);
    ScreenController controller;
    Launch("");
    HWND game = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (game = host.FindGameWindow()) != nullptr; })) << "no game window";
    auto place = [&](int x, int y, int width, int height) {
        SetWindowPos(game, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_TRUE(WaitUntil([&] {
            const RECT r = WindowRect(game);
            return r.left == x && r.top == y && r.right - r.left == width && r.bottom - r.top == height;
        }));
    };

    // As the wrapper leaves it when it comes in front: the place saved, the game minimised.
    place(60, 40, 420, 300);
    const RECT placed = WindowRect(game);
    controller.savedGameRect = placed;
    controller.gameMinimized = true;
    SendMessageA(game, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(game) != FALSE; }));

    controller.ActivateGame();
    EXPECT_TRUE(controller.gameToFrontPending);
    EXPECT_FALSE(controller.gameMinimized);
    EXPECT_FALSE(IsWindowVisible(WrapperWindow));
    EXPECT_FALSE(IsIconic(game));
    EXPECT_TRUE(EqualRect(&controller.savedGameRect, &placed)) << "kept when nothing had to move";
    RECT now = WindowRect(game);
    EXPECT_TRUE(EqualRect(&now, &placed));

    // Moved and resized since: it goes back to the saved place and size, once.
    place(300, 200, 380, 260);
    controller.ActivateGame();
    now = WindowRect(game);
    EXPECT_TRUE(EqualRect(&now, &placed));
    const RECT none = {0, 0, 0, 0};
    EXPECT_TRUE(EqualRect(&controller.savedGameRect, &none)) << "cleared once used";

    // With nothing saved, the game stays wherever it stands.
    place(250, 150, 420, 300);
    controller.ActivateGame();
    Sleep(200);
    now = WindowRect(game);
    EXPECT_EQ(now.left, 250);
    EXPECT_EQ(now.top, 150);
}
