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
    std::vector<double> shell, baseline, gaps;
    for (int run = 0; run < runs; ++run) {
        shell.push_back(ShellLatency());
        gaps.push_back(LastPollGapMs());
        baseline.push_back(BaselineLatency());
        gaps.push_back(LastPollGapMs());
        if (shell.back() < 0 || baseline.back() < 0) {
            std::printf("a run failed (shell %.0f, baseline %.0f)\n", shell.back(), baseline.back());
            return 1;
        }
    }
    std::printf("Game's end -> white pixel on screen, median of %d runs\n", runs);
    std::printf("  shell's closing screen       %8.1f ms   (\"Play Game\" fill at client 466, 490)\n", Median(shell));
    std::printf("  idle loop baseline           %8.1f ms   (shows a white window when the watched game ends)\n",
                Median(baseline));
    std::printf("  shell / baseline             %8.2f\n", Median(shell) / Median(baseline));
    std::printf("  screen read every            %8.2f ms   (median gap between two reads)\n", Median(gaps));
    return 0;
}
