// The cost of the closing screen's frames drawn in-process, the way a tick draws them, over one
// whole countdown (1000 frames: the shown seconds change every 50th), with the text work they
// take, for game names of 10, 50 and 254 characters. Beside it, Present alone as the baseline.
// Each name runs in a process of its own, since the settings are read once per process.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench_support.h"
#include "draw/text.h"
#include "in_process_screen.h"
#include "shell/countdown.h"
#include "shell/screen_controller.h"

namespace {

int RunOneName(size_t length)
{
    ScreenController& controller = StartClosingScreenHere(length, "ClosingFrameBench");

    std::vector<double> present, drawnFrames, keptFrames;
    for (int i = 0; i < 200; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        controller.Present();
        QueryPerformanceCounter(&end);
        present.push_back(Microseconds(start, end));
    }
    const TextCounters before = TextWork;
    double total = 0.0;
    const int frames = 1000;
    for (int i = 0; i < frames; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        const bool drawn = controller.DrawFrame();
        controller.Present();
        QueryPerformanceCounter(&end);
        const double us = Microseconds(start, end);
        total += us;
        (drawn ? drawnFrames : keptFrames).push_back(us);
        StepCloseCountdown(controller.closeCountdown);
    }
    std::printf("%6zu %10.0f %10.0f %4zu %10.0f %4zu %10.0f %12.2f %12.2f\n", length, Median(present), total / frames,
                drawnFrames.size(), Median(drawnFrames), keptFrames.size(), Median(keptFrames),
                double(TextWork.measurements - before.measurements) / frames,
                double(TextWork.fontsCreated - before.fontsCreated) / frames);
    std::fflush(stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1)
        return RunOneName(std::strtoul(argv[1], nullptr, 10));
    std::printf("Closing-screen frames drawn in-process over one countdown (1000 frames), microseconds\n");
    std::printf("%6s %10s %10s %15s %15s %12s %12s\n", "name", "Present", "per frame", "drawn: n, med",
                "kept: n, med", "measures/fr", "fonts/fr");
    std::fflush(stdout);
    for (const size_t length : {10u, 50u, 254u}) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION child = {};
        std::string commandLine = "\"" + ProgramPath() + "\" " + std::to_string(length);
        if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child))
            return 1;
        WaitForSingleObject(child.hProcess, INFINITE);
        CloseHandle(child.hProcess);
        CloseHandle(child.hThread);
    }
    return 0;
}
