#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "demo_game_control.h"
#include "host/game_host.h"
#include "temp_folder.h"
#include "wait.h"

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

    DWORD ExitCodeAfterEnd(HANDLE process)
    {
        DWORD code = 0;
        EXPECT_EQ(WaitForSingleObject(process, 5000), WAIT_OBJECT_0);
        GetExitCodeProcess(process, &code);
        return code;
    }

    void TearDown() override
    {
        if (host.processInfo.hProcess != nullptr) {
            TerminateProcess(host.processInfo.hProcess, 1);
            WaitForSingleObject(host.processInfo.hProcess, 5000);
        }
        host.ResetProcessRecord();
    }
};

}  // namespace

TEST_F(GameProcess, PoliteGameGetsOnlyWmCloseAndEndsByItself)
{
    Launch("");
    ASSERT_TRUE(WaitUntil([&] { return host.FindGameWindow() != nullptr; }));
    HANDLE process = nullptr;
    DuplicateHandle(GetCurrentProcess(), host.processInfo.hProcess, GetCurrentProcess(), &process, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);

    host.CloseGame();

    EXPECT_EQ(ExitCodeAfterEnd(process), 0u) << "a game that closed by itself must not be terminated";
    CloseHandle(process);
    // Its own DestroyWindow brings the one WM_DESTROY; nothing else was sent.
    EXPECT_EQ(JournalMessages(journal, kCloseMessages), (std::vector<std::string>{"WM_CLOSE", "WM_DESTROY"}));
    EXPECT_FALSE(host.IsGameRunning());
    EXPECT_EQ(host.processInfo.hProcess, nullptr);

    // The game was started with no command line: it sees its image name at most.
    const std::vector<JournalLine> lines = ReadJournal(journal);
    ASSERT_FALSE(lines.empty());
    ASSERT_EQ(lines[0].event, "start");
    const std::string commandLine = lines[0].rest.substr(lines[0].rest.find("cmdline=") + 8);
    EXPECT_TRUE(commandLine == "win_tests.MWG" || commandLine == "\"win_tests.MWG\"") << commandLine;
}

TEST_F(GameProcess, StubbornGameGetsEveryStepThenIsTerminated)
{
    Launch("ignore=all");
    ASSERT_TRUE(WaitUntil([&] { return host.FindGameWindow() != nullptr; }));

    host.CloseGame();

    ASSERT_NE(host.processInfo.hProcess, nullptr) << "the record is kept until the exit code is read";
    EXPECT_EQ(ExitCodeAfterEnd(host.processInfo.hProcess), 0xFFFFFFFFu);
    EXPECT_EQ(JournalMessages(journal, kCloseMessages),
              (std::vector<std::string>{"WM_CLOSE", "WM_SYSCOMMAND", "WM_QUIT", "WM_DESTROY"}));
    bool scClose = false;
    for (const JournalLine& line : ReadJournal(journal))
        scClose |= line.rest.rfind("WM_SYSCOMMAND", 0) == 0 && line.rest.find("wparam=0xF060") != std::string::npos;
    EXPECT_TRUE(scClose) << "WM_SYSCOMMAND must carry SC_CLOSE";
    EXPECT_FALSE(host.IsGameRunning());
}

TEST_F(GameProcess, WindowsOfOtherThreadsAreNeverTheGamesAndAWindowlessGameIsTerminatedAfterTheWaits)
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
    const DWORD elapsed = GetTickCount() - start;

    EXPECT_GE(elapsed, 4900u) << "every wait runs in full when no window answers";
    EXPECT_EQ(ExitCodeAfterEnd(host.processInfo.hProcess), 0xFFFFFFFFu);
    EXPECT_TRUE(JournalMessages(journal, kCloseMessages).empty());
}

TEST_F(GameProcess, EveryMainThreadWindowIsListedOnceUntilTheGameEnds)
{
    Launch("windows=2;laterwindows=300;exitafter=2500");
    ASSERT_TRUE(WaitUntil([&] {
        host.FindGameWindow();
        return GameWindowList.count >= 2;
    }));
    for (int pass = 0; pass < 5; ++pass)
        host.FindGameWindow();
    ASSERT_EQ(GameWindowList.count, 2u);
    HWND first = static_cast<HWND>(GameWindowList.data[0]);
    HWND second = static_cast<HWND>(GameWindowList.data[1]);
    EXPECT_NE(first, second);
    for (HWND window : {first, second})
        EXPECT_EQ(GetWindowThreadProcessId(window, nullptr), host.processInfo.dwThreadId);

    // The game window is whichever the enumeration reports first.
    struct FirstReported {
        static BOOL CALLBACK Take(HWND window, LPARAM out)
        {
            *reinterpret_cast<HWND*>(out) = window;
            return FALSE;
        }
    };
    HWND reportedFirst = nullptr;
    EnumThreadWindows(host.processInfo.dwThreadId, FirstReported::Take, reinterpret_cast<LPARAM>(&reportedFirst));
    EXPECT_EQ(host.FindGameWindow(), reportedFirst);

    SetForegroundWindow(second);
    EXPECT_TRUE(WaitUntil([&] { return host.IsGameInForeground(); }, 2000));

    ASSERT_TRUE(WaitUntil([&] { return !host.IsGameRunning(); }, 10000));
    EXPECT_EQ(GameWindowList.count, 0u);
    EXPECT_EQ(host.FindGameWindow(), nullptr);
    EXPECT_FALSE(host.IsGameInForeground());
}

TEST_F(GameProcess, ExitCode259CountsAsRunningAndAnEmptyRecordCostsNothing)
{
    EXPECT_FALSE(host.IsGameRunning());
    DWORD start = GetTickCount();
    host.CloseGame();
    EXPECT_LT(GetTickCount() - start, 1000u) << "with no game held nothing is waited for";

    Launch("windows=0;exitafter=50;exitcode=259");
    ASSERT_EQ(WaitForSingleObject(host.processInfo.hProcess, 5000), WAIT_OBJECT_0);
    EXPECT_TRUE(host.IsGameRunning());
    EXPECT_NE(host.processInfo.hProcess, nullptr);
    EXPECT_EQ(host.FindGameWindow(), nullptr);
}
