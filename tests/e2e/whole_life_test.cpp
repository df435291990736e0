#include <gtest/gtest.h>

#include "shell_driver.h"
// After <windows.h>, which it needs.
#include <tlhelp32.h>

namespace {

int ThreadsOf(DWORD pid)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry;
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == pid ? 1 : 0;
    CloseHandle(snapshot);
    return count;
}

}  // namespace

// A game, the closing screen, a catalogue session in which the arcade layer updates itself, Play Game
// and the countdown to the last close step: all of it on the shell's one thread, and the arcade DLL
// never meets another.
TEST(WholeLife, OneThreadFromTheFirstGameThroughAnUpdateInASessionToTheLastCloseStep)
{
    ShellRun run;
    ASSERT_TRUE(run.Start("windows=0", "update_after_frames=10\r\nupdate_source=" + ProgramFolder() +
                                           "arcade-variants\\version2\\MorvessaArcade.dll"));
    const DWORD shell = run.shell.process.dwProcessId;
    ASSERT_TRUE(WaitUntil([&] { return run.GamePids().size() == 1; }));
    EXPECT_EQ(ThreadsOf(shell), 1) << "while the game runs";
    HANDLE first = OpenProcess(PROCESS_TERMINATE, FALSE, run.GamePids()[0]);
    ASSERT_TRUE(TerminateProcess(first, 3));
    CloseHandle(first);
    ASSERT_TRUE(run.WaitVisible(true));
    const DWORD shown = GetTickCount();

    ASSERT_TRUE(ClickButtonWhenHovered(run.wrapper, kOtherGamesLeft));
    ASSERT_TRUE(WaitUntil([&] { return run.FindCall("madll_GetDLLVersionAsString -> \"2.0\"") >= 0; }, 10000))
        << "the update applied between two frames";
    EXPECT_TRUE(run.WaitCall("madll_EnterMenuSession 1 720 540 -> 0", run.FindCall("madll_GetDLLVersionAsString")));
    EXPECT_TRUE(run.WaitCall("madll_DrawNextFrameIntoBuffer", run.FindCall("madll_GetDLLVersionAsString -> \"2.0\"")));
    EXPECT_EQ(ThreadsOf(shell), 1) << "in the session of the updated DLL";
    const size_t beforeEscape = run.ArcadeCalls().size();
    keybd_event(VK_ESCAPE, 0, 0, 0);
    keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
    ASSERT_TRUE(run.WaitCall("madll_IsTheMenuSessionComplete -> 1", beforeEscape));

    // A windowless game leaves the countdown running; at 0 the game gets every close step, then its end.
    ASSERT_TRUE(ClickButtonWhenHovered(run.wrapper, kPlayGameLeft));
    ASSERT_TRUE(WaitUntil([&] { return run.GamePids().size() == 2; }, 10000)) << "the second game started";
    ChildRun second;
    second.process.hProcess = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, run.GamePids()[1]);
    EXPECT_EQ(ThreadsOf(shell), 1) << "with the second game";
    EXPECT_NE(run.EndedAfter(shown, 60000), -1);
    EXPECT_EQ(second.WaitExit(5000), 0xFFFFFFFFu) << "terminated after the unanswered close steps";
    for (const std::string& call : run.ArcadeCalls())
        EXPECT_NE(call.rfind("thread", 0), 0u) << call;
}
