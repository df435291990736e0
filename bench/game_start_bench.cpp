// From starting the shell (this program's CreateProcess) to the game running its first line
// (its journal's "start" line appearing), beside the same for the idle loop program started
// directly, which writes the same line first thing, and for the demo game started directly.
// The shell's share, up to its own CreateProcess of the game, comes from the two processes'
// creation times.
#include <cstdio>

#include "bench_support.h"
#include "harness.h"

struct ShellStart {
    double toGameMs = -1.0;
    double toGameCreatedMs = -1.0;
};

static ShellStart ShellToGame()
{
    ShellStart result;
    ShellRun shell;
    double started = 0.0;
    if (!StartShell(shell, "windows=0", false, &started))
        return result;
    const double line = PollUntil([&] { return HasContent(shell.gameJournal); }, 10000);
    if (line < 0)
        return result;
    result.toGameMs = line - started;
    const DWORD pid = WaitGamePid(shell, 5000);
    HANDLE game = pid != 0 ? OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid) : nullptr;
    if (game != nullptr) {
        result.toGameCreatedMs = CreationMs(game) - CreationMs(shell.shell.process.hProcess);
        CloseHandle(game);
    }
    return result;
}

static double DirectStart(const std::string& program, const std::string& arguments)
{
    TempFolder journals;
    const std::string journal = journals.File("start.txt");
    SetDemoGameBehaviour("windows=0", journal);
    ChildRun child;
    const double started = NowMs();
    if (!child.Start(program, arguments))
        return -1.0;
    const double line = PollUntil([&] { return HasContent(journal); }, 10000);
    return line < 0 ? -1.0 : line - started;
}

int main()
{
    const int runs = 5;
    std::vector<double> shell, shellShare, bare, game, gaps;
    for (int run = 0; run < runs; ++run) {
        const ShellStart start = ShellToGame();
        gaps.push_back(LastPollGapMs());
        shell.push_back(start.toGameMs);
        shellShare.push_back(start.toGameCreatedMs);
        bare.push_back(DirectStart(BaselinePath(), ""));
        game.push_back(DirectStart(DemoGamePath(), ""));
        if (shell.back() < 0 || shellShare.back() < 0 || bare.back() < 0 || game.back() < 0) {
            std::printf("a run failed\n");
            return 1;
        }
    }
    std::printf("CreateProcess -> the program's first line in WinMain, median of %d runs\n", runs);
    std::printf("  shell, then the game           %8.1f ms\n", Median(shell));
    std::printf("    of which until the shell creates the game %6.1f ms   (process creation times)\n",
                Median(shellShare));
    std::printf("  bare program (idle loop)       %8.1f ms   (baseline)\n", Median(bare));
    std::printf("  demo game started directly     %8.1f ms\n", Median(game));
    std::printf("  shell path / bare program      %8.2f\n", Median(shell) / Median(bare));
    std::printf("  journal read every             %8.2f ms   (median gap between two reads)\n", Median(gaps));
    return 0;
}
