// What a closing-screen frame costs in the running shell: its CPU time over 10 s of the
// closing screen divided by the frames it drew in them, beside the idle loop program (the
// shell's loop shape with a shown window and nothing to draw) per 20 ms over the same 10 s.
//
// The frames are not counted inside the shell; they follow from its countdown: every due tick
// of the closing screen draws one frame and takes 0.02 s off the countdown, and the 1000th
// closes the shell. So 1000 frames span the time from the first frame on screen to the
// shell's end, and the 10 s hold their share of them.
#include <cstdio>

#include "bench_support.h"

int main()
{
    const int runs = 3;
    const DWORD windowMs = 10000;
    std::vector<double> shellCpu, frames, perFrame, baselinePer20, ratios, lifetimes;
    for (int run = 0; run < runs; ++run) {
        ChildRun baseline;
        ShellRun shell;
        if (!StartSideBySide(baseline, "shown", shell, "exitafter=1500"))
            return 1;
        const double firstFrame = PollUntil([&] { return ShowsWhiteAt(shell.wrapper, 466, 490); }, 15000);
        if (firstFrame < 0) {
            std::printf("the closing screen did not show\n");
            return 1;
        }
        const SharedCpuWindow cpu = MeasureCpuTogether(shell.shell.process.hProcess, baseline.process.hProcess, windowMs);
        const double span = cpu.spanMs;
        if (shell.shell.WaitExit(15000) == STILL_ACTIVE) {
            std::printf("the countdown did not close the shell\n");
            return 1;
        }
        const double lifetime = NowMs() - firstFrame;
        // From the first frame to the 1000th there are 999 frame steps.
        const double drawn = 999.0 * span / lifetime;
        shellCpu.push_back(cpu.firstMs);
        frames.push_back(drawn);
        perFrame.push_back(cpu.firstMs / drawn);
        baselinePer20.push_back(cpu.secondMs / (span / 20.0));
        ratios.push_back(cpu.secondMs > 0 ? perFrame.back() / baselinePer20.back() : 0.0);
        lifetimes.push_back(lifetime);
    }
    std::printf("Closing screen, 10 s from its first frame on screen, median of %d runs\n", runs);
    std::printf("  shell CPU (user + kernel)    %8.0f ms\n", Median(shellCpu));
    std::printf("  frames drawn                 %8.0f      (computed: 1000 frames took %.2f s, first frame to exit)\n",
                Median(frames), Median(lifetimes) / 1000.0);
    std::printf("  shell CPU per frame          %8.2f ms\n", Median(perFrame));
    std::printf("  idle loop CPU per 20 ms      %8.2f ms   (PeekMessage + Sleep(15), shown window, same 10 s)\n",
                Median(baselinePer20));
    std::printf("  per frame / per 20 ms        %8.2f      (median of the per-run ratios)\n", Median(ratios));
    return 0;
}
