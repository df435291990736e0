// What the shell costs while the player plays: its CPU time (user + kernel) over 10 s with the
// demo game running in front, beside the idle loop program (the shell's own loop shape with a
// hidden window and nothing else) over the very same 10 s. Thread times come in 10 ms steps under
// Wine, so a longer window gives the ratio finer steps.
// Usage: shell_idle_cpu_bench [runs] [seconds]   (3 runs of 10 s by default)
#include <cstdio>
#include <cstdlib>

#include "bench_support.h"

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 3;
    const DWORD windowMs = argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) * 1000 : 10000;
    const std::vector<ComparedShell> shells = ComparedShells();
    std::vector<std::vector<double>> shellCpu(shells.size()), baselineCpu(shells.size()), ratios(shells.size());
    std::vector<double> spans;
    for (int run = 0; run < runs; ++run) {
        for (size_t s = 0; s < shells.size(); ++s) {
            GameFolder::shellExe = shells[s].exe;
            ChildRun baseline;
            ShellRun shell;
            if (!StartSideBySide(baseline, "hidden", shell, ""))
                return 1;
            const DWORD game = WaitGamePid(shell, 10000);
            if (game == 0 ||
                !WaitUntil([&] { return IsForegroundOf(game) && !IsWindowVisible(shell.wrapper); }, 10000)) {
                std::printf("the game did not come to the front\n");
                return 1;
            }
            // Past the ticks that bring the game forward.
            Sleep(1000);
            const SharedCpuWindow cpu =
                MeasureCpuTogether(shell.shell.process.hProcess, baseline.process.hProcess, windowMs);
            spans.push_back(cpu.spanMs);
            if (shell.shell.WaitExit(0) != STILL_ACTIVE) {
                std::printf("the shell ended while the game ran\n");
                return 1;
            }
            shellCpu[s].push_back(cpu.firstMs);
            baselineCpu[s].push_back(cpu.secondMs);
            ratios[s].push_back(cpu.secondMs > 0 ? cpu.firstMs / cpu.secondMs : 0.0);
        }
    }
    std::printf("CPU time (user + kernel of its threads) over %.1f s with the game in front, median [range] of %d runs\n",
                Median(spans) / 1000.0, runs);
    for (size_t s = 0; s < shells.size(); ++s) {
        std::printf("  %s\n", shells[s].label.c_str());
        std::printf("    shell                  %s ms\n", MedianRange(shellCpu[s], "%.0f").c_str());
        std::printf("    idle loop baseline     %s ms   (PeekMessage + Sleep(15), hidden window, same span)\n",
                    MedianRange(baselineCpu[s], "%.0f").c_str());
        std::printf("    shell / baseline       %s      (the per-run ratios)\n", MedianRange(ratios[s], "%.2f").c_str());
    }
    std::printf("  (thread times come in 10 ms steps under Wine; the wineserver's work for either is not counted)\n");
    return 0;
}
