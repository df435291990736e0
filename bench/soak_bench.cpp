// Whether the shell holds on to more and more over time: the closing screen held, a menu
// session held for a long stretch, then many Play Game cycles with a game that shows its window
// and ends at once. Prints at each stage the shell's resident set and its anonymous (private)
// part as Linux sees them, and the private bytes and GDI and kernel handle counts as Wine tells
// them (Wine 8 answers 0 for another process: "-"), with the growth from the first sample.
// Usage: soak_bench [session minutes] [cycles]   (10 and 200 by default)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_support.h"

namespace {

const COLORREF kCatalogueBlue = RGB(40, 96, 168);
// Growth that a settled heap or a cache may show; anything beyond it is a leak.
const double kPrivateAllowanceMB = 1.0;
const DWORD kHandleAllowance = 16;

void Click(HWND wrapper, int x, int y)
{
    PostMessageA(wrapper, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(wrapper, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

bool ClosingScreenShown(const ShellRun& run)
{
    return PollUntil([&] { return ShowsWhiteAt(run.wrapper, 466, 490); }, 15000) >= 0;
}

struct Sample {
    double residentMB = -1.0;
    double anonymousMB = -1.0;
    ProcessFigures wine = {};
};

Sample Take(const ShellRun& run)
{
    Sample sample;
    ReadLinuxFigures(run.folder.shellPath, &sample.residentMB, &sample.anonymousMB);
    sample.wine = ReadProcessFigures(run.shell.process.hProcess);
    return sample;
}

std::string Count(double now, double first, const char* format)
{
    if (now <= 0.0)
        return "      -      ";
    char text[32];
    std::snprintf(text, sizeof text, format, now, now - first);
    return text;
}

void Print(const char* stage, const Sample& now, const Sample& first)
{
    std::printf("  %-28s %s %s %s %s %s\n", stage, Count(now.residentMB, first.residentMB, "%6.1f %+6.1f").c_str(),
                Count(now.anonymousMB, first.anonymousMB, "%6.1f %+6.1f").c_str(),
                Count(now.wine.privateMB, first.wine.privateMB, "%6.1f %+6.1f").c_str(),
                Count(now.wine.gdiHandles, first.wine.gdiHandles, "%6.0f %+6.0f").c_str(),
                Count(now.wine.kernelHandles, first.wine.kernelHandles, "%6.0f %+6.0f").c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    const double sessionMinutes = argc > 1 ? std::atof(argv[1]) : 10.0;
    const int cycles = argc > 2 ? std::atoi(argv[2]) : 200;
    ShellRun run;
    if (!StartShell(run, "windows=1;exitafter=200", true) || !ClosingScreenShown(run)) {
        std::printf("the closing screen did not show\n");
        return 1;
    }
    Sleep(2000);
    std::printf("Soak: %.1f min of menu session, then %d Play Game cycles; each figure and its growth\n",
                sessionMinutes, cycles);
    std::printf("  %-28s %13s %13s %13s %13s %13s\n", "stage", "resident MB", "anonymous MB", "private MB",
                "GDI handles", "kernel hdl");
    const Sample first = Take(run);
    Print("closing screen", first, first);

    Click(run.wrapper, 600, 488);
    if (PollUntil([&] { return !ShowsWhiteAt(run.wrapper, 466, 490); }, 5000) < 0) {
        std::printf("the menu session did not start\n");
        return 1;
    }
    POINT probe = {50, 200};
    ClientToScreen(run.wrapper, &probe);
    if (PollUntil([&] { return ScreenPixel(probe.x, probe.y) == kCatalogueBlue; }, 5000) < 0) {
        std::printf("the catalogue did not show\n");
        return 1;
    }
    const double sessionEnd = NowMs() + sessionMinutes * 60000.0;
    while (NowMs() < sessionEnd)
        Sleep(1000);
    const Sample afterSession = Take(run);
    Print("end of the menu session", afterSession, first);
    Sample worst = afterSession;
    PostMessageA(run.wrapper, WM_KEYDOWN, VK_ESCAPE, 0);
    if (!ClosingScreenShown(run)) {
        std::printf("the menu session did not end\n");
        return 1;
    }

    for (int cycle = 1; cycle <= cycles; ++cycle) {
        Click(run.wrapper, 500, 488);
        if (!run.WaitVisible(false, 5000) || !run.WaitVisible(true, 15000) || !ClosingScreenShown(run)) {
            std::printf("cycle %d: the closing screen did not come back\n", cycle);
            return 1;
        }
        if (cycle % 50 == 0 || cycle == cycles) {
            Sleep(500);
            const Sample now = Take(run);
            char stage[48];
            std::snprintf(stage, sizeof stage, "after %d Play Game cycles", cycle);
            Print(stage, now, first);
            worst.anonymousMB = std::max(worst.anonymousMB, now.anonymousMB);
            worst.wine.privateMB = std::max(worst.wine.privateMB, now.wine.privateMB);
            worst.wine.gdiHandles = std::max(worst.wine.gdiHandles, now.wine.gdiHandles);
            worst.wine.kernelHandles = std::max(worst.wine.kernelHandles, now.wine.kernelHandles);
        }
    }
    // Growth is judged from the end of the session on: a first session loads what it keeps.
    const bool held = worst.anonymousMB - afterSession.anonymousMB <= kPrivateAllowanceMB &&
                      worst.wine.privateMB - afterSession.wine.privateMB <= kPrivateAllowanceMB &&
                      worst.wine.gdiHandles <= afterSession.wine.gdiHandles + kHandleAllowance &&
                      worst.wine.kernelHandles <= afterSession.wine.kernelHandles + kHandleAllowance;
    std::printf("  growth over the cycles %s the allowance (%.1f MB anonymous or private, %lu handles of each kind)\n",
                held ? "within" : "BEYOND", kPrivateAllowanceMB, kHandleAllowance);
    return 0;
}
