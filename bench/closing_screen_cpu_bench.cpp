// What the closing screen costs in the running shell, for game names of 10, 50 and 254
// characters (254 is the longest the settings allow; it wraps over many lines):
// - CPU per frame: the shell's CPU over 10 s of the closing screen less the bare loop's over the
//   very same 10 s (the idle loop program, the shell's loop shape with a hidden window), divided
//   by the frames due in them (one per 20 ms);
// - the countdown's real length: from the game's end to the shell's own end, 20 s when every due
//   frame keeps its 20 ms;
// - the shell's peak resident set by then, beside the memory floor program's (the arcade DLL,
//   the background picture, a frame buffer drawn and shown, one font) after as many seconds.
// With another shell to compare (ComparedShells), each run measures both in turn, and the
// ratios of this shell's figures to the other's are printed after the tables.
// Usage: closing_screen_cpu_bench [runs]   (3 by default)
#include <cstdio>
#include <cstdlib>

#include "bench_support.h"

namespace {

struct LengthFigures {
    std::vector<double> netPerFrameUs, shellMs, baselineMs, countdownS, peakMB;
};

bool MeasureOnce(size_t nameLength, LengthFigures& figures)
{
    ChildRun baseline;
    ShellRun shell;
    shell.settings = "Application Name=" + GameName(nameLength) + "\r\n";
    if (!StartSideBySide(baseline, "hidden", shell, "exitafter=1500"))
        return false;
    const DWORD pid = WaitGamePid(shell, 10000);
    HANDLE game = pid != 0 ? OpenProcess(SYNCHRONIZE, FALSE, pid) : nullptr;
    if (game == nullptr || WaitForSingleObject(game, 10000) != WAIT_OBJECT_0) {
        std::printf("the game did not end by itself\n");
        return false;
    }
    const double gameEnded = NowMs();
    CloseHandle(game);
    if (PollUntil([&] { return ShowsWhiteAt(shell.wrapper, 466, 490); }, 15000) < 0) {
        std::printf("the closing screen did not show\n");
        return false;
    }
    const SharedCpuWindow cpu = MeasureCpuTogether(shell.shell.process.hProcess, baseline.process.hProcess, 10000);
    const ProcessFigures memory = ReadProcessFigures(shell.shell.process.hProcess);
    if (shell.shell.WaitExit(120000) == STILL_ACTIVE) {
        std::printf("the countdown did not close the shell\n");
        return false;
    }
    const double framesDue = cpu.spanMs / 20.0;
    figures.netPerFrameUs.push_back(1000.0 * (cpu.firstMs - cpu.secondMs) / framesDue);
    figures.shellMs.push_back(cpu.firstMs);
    figures.baselineMs.push_back(cpu.secondMs);
    figures.countdownS.push_back((NowMs() - gameEnded) / 1000.0);
    figures.peakMB.push_back(memory.peakResidentMB);
    return true;
}

// The floor of a whole frame on every due tick (the idle loop program's "present" mode) beside
// the bare loop over the same 10 s: its CPU per due frame.
bool MeasureCopyFloor(std::vector<double>& netPerFrameUs)
{
    ChildRun bare, floor;
    if (StartBaseline(bare, "hidden") == nullptr || !floor.Start(BaselinePath(), "present") ||
        floor.WaitWindow("MorvessaIdleLoop") == nullptr) {
        std::printf("the idle loop programs did not start\n");
        return false;
    }
    Sleep(1000);
    const SharedCpuWindow cpu = MeasureCpuTogether(floor.process.hProcess, bare.process.hProcess, 10000);
    netPerFrameUs.push_back(1000.0 * (cpu.firstMs - cpu.secondMs) / (cpu.spanMs / 20.0));
    return true;
}

double FloorPeakMB()
{
    GameFolder folder;
    if (!CopyFileTo(ProgramFolder() + "testdata\\Background.jpg", folder.File("Background.jpg")))
        return -1.0;
    ChildRun floor;
    if (!floor.Start(ProgramFolder() + "memory_floor.exe", folder.path) || floor.WaitWindow("MorvessaMemoryFloor") == nullptr)
        return -1.0;
    Sleep(12000);
    return ReadProcessFigures(floor.process.hProcess).peakResidentMB;
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 3;
    const size_t lengths[] = {10, 50, 254};
    const std::vector<ComparedShell> shells = ComparedShells();
    std::vector<std::vector<LengthFigures>> figures(shells.size(), std::vector<LengthFigures>(3));
    std::vector<double> floorMB, copyFloorUs;
    // Shells and lengths interleaved, so that a busy stretch of the machine weighs on all alike.
    for (int run = 0; run < runs; ++run) {
        for (int i = 0; i < 3; ++i) {
            for (size_t s = 0; s < shells.size(); ++s) {
                GameFolder::shellExe = shells[s].exe;
                if (!MeasureOnce(lengths[i], figures[s][i]))
                    return 1;
            }
        }
        floorMB.push_back(FloorPeakMB());
        if (!MeasureCopyFloor(copyFloorUs))
            return 1;
    }
    for (size_t s = 0; s < shells.size(); ++s) {
        std::printf("Closing screen of %s, 10 s of it beside the bare loop, median [range] of %d runs\n",
                    shells[s].label.c_str(), runs);
        std::printf("%5s %22s %18s %18s %22s %20s\n", "name", "CPU/frame net (us)", "shell CPU (ms)",
                    "bare loop (ms)", "countdown length (s)", "peak resident (MB)");
        for (int i = 0; i < 3; ++i) {
            const LengthFigures& f = figures[s][i];
            std::printf("%5zu %22s %18s %18s %22s %20s\n", lengths[i], MedianRange(f.netPerFrameUs, "%.0f").c_str(),
                        MedianRange(f.shellMs, "%.0f").c_str(), MedianRange(f.baselineMs, "%.0f").c_str(),
                        MedianRange(f.countdownS, "%.2f").c_str(), MedianRange(f.peakMB, "%.1f").c_str());
        }
        const double shortName = Median(figures[s][0].netPerFrameUs);
        std::printf("  254 / 10 characters, CPU per frame: %.2f\n",
                    shortName > 0 ? Median(figures[s][2].netPerFrameUs) / shortName : 0.0);
    }
    for (size_t s = 1; s < shells.size(); ++s) {
        for (int i = 0; i < 3; ++i) {
            std::printf("  %zu characters, this shell / %s: CPU per frame %.2f, peak resident %.2f\n", lengths[i],
                        shells[s].label.c_str(), Median(figures[0][i].netPerFrameUs) / Median(figures[s][i].netPerFrameUs),
                        Median(figures[0][i].peakMB) / Median(figures[s][i].peakMB));
        }
    }
    std::printf("  memory floor program, peak resident: %s MB\n", MedianRange(floorMB, "%.1f").c_str());
    std::printf("  whole-frame floor, CPU per frame net: %s us (a shown 720 x 540 window and one whole 32-bit frame "
                "copied into it per due tick)\n", MedianRange(copyFloorUs, "%.0f").c_str());
    for (size_t s = 0; s < shells.size(); ++s)
        std::printf("  %s, 10 characters, CPU per frame above that floor: %.0f us\n", shells[s].label.c_str(),
                    Median(figures[s][0].netPerFrameUs) - Median(copyFloorUs));
    std::printf("  (thread times come in 10 ms steps under Wine; the countdown runs from the game's end)\n");
    return 0;
}
