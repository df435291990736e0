// From the game's end to the closing screen on screen: the demo game ends by itself, this
// program waits on its process, then reads the screen until the white fill of "Play Game"
// (client 466, 490) shows. The baseline is the idle loop program watching a game process the
// same way the shell does (one look per loop turn) and showing a plain white window when it
// ends, read from the screen the same way: what any program of that loop shape needs.
#include <cstdio>

#include "bench_support.h"
#include "harness.h"

static double ShellLatency()
{
    ShellRun shell;
    if (!StartShell(shell, "exitafter=1500", true))
        return -1.0;
    const DWORD pid = WaitGamePid(shell, 10000);
    HANDLE game = pid != 0 ? OpenProcess(SYNCHRONIZE, FALSE, pid) : nullptr;
    if (game == nullptr)
        return -1.0;
    const bool ended = WaitForSingleObject(game, 10000) == WAIT_OBJECT_0;
    const double end = NowMs();
    CloseHandle(game);
    if (!ended)
        return -1.0;
    const double shown = PollUntil([&] { return ShowsWhiteAt(shell.wrapper, 466, 490); }, 5000);
    return shown < 0 ? -1.0 : shown - end;
}

static double BaselineLatency()
{
    ChildRun game;
    SetDemoGameBehaviour("windows=0;exitafter=1500", "");
    if (!game.Start(DemoGamePath()))
        return -1.0;
    ChildRun baseline;
    HWND window = StartBaseline(baseline, "watch " + std::to_string(game.process.dwProcessId));
    if (window == nullptr)
        return -1.0;
    if (game.WaitExit(10000) == STILL_ACTIVE)
        return -1.0;
    const double end = NowMs();
    const double shown = PollUntil([&] { return ShowsWhiteAt(window, 60, 45); }, 5000);
    return shown < 0 ? -1.0 : shown - end;
}

int main()
{
    const int runs = 5;
    const std::vector<ComparedShell> shells = ComparedShells();
    std::vector<std::vector<double>> shell(shells.size());
    std::vector<double> baseline, gaps;
    for (int run = 0; run < runs; ++run) {
        for (size_t s = 0; s < shells.size(); ++s) {
            GameFolder::shellExe = shells[s].exe;
            shell[s].push_back(ShellLatency());
            gaps.push_back(LastPollGapMs());
            if (shell[s].back() < 0) {
                std::printf("a run of %s failed\n", shells[s].label.c_str());
                return 1;
            }
        }
        baseline.push_back(BaselineLatency());
        gaps.push_back(LastPollGapMs());
        if (baseline.back() < 0) {
            std::printf("a run of the baseline failed\n");
            return 1;
        }
    }
    std::printf("Game's end -> white pixel on screen, median [range] of %d runs\n", runs);
    for (size_t s = 0; s < shells.size(); ++s)
        std::printf("  closing screen of %-14s %s ms   (\"Play Game\" fill at client 466, 490)\n",
                    shells[s].label.c_str(), MedianRange(shell[s], "%.1f").c_str());
    std::printf("  idle loop baseline           %s ms   (shows a white window when the watched game ends)\n",
                MedianRange(baseline, "%.1f").c_str());
    std::printf("  this shell / baseline        %8.2f\n", Median(shell[0]) / Median(baseline));
    for (size_t s = 1; s < shells.size(); ++s)
        std::printf("  this shell - %s  %+8.1f ms\n", shells[s].label.c_str(), Median(shell[0]) - Median(shell[s]));
    std::printf("  screen read every            %8.2f ms   (median gap between two reads)\n", Median(gaps));
    return 0;
}
