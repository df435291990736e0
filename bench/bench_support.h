#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "shell_driver.h"

// Milliseconds on the performance counter, which every process of the machine shares.
double NowMs();
double Median(std::vector<double> values);
// "median [lowest-highest]" with the given printf format for each figure.
std::string MedianRange(const std::vector<double>& values, const char* format);
// User plus kernel time the process has used so far, in 10 ms steps under Wine.
double CpuMs(HANDLE process);
double CreationMs(HANDLE process);

// CPU time two processes use over the same stretch of wall time.
struct SharedCpuWindow {
    double firstMs;
    double secondMs;
    double spanMs;
};
SharedCpuWindow MeasureCpuTogether(HANDLE first, HANDLE second, DWORD windowMs);

// Polls about every millisecond; the time the condition first held, or a negative number.
double PollUntil(const std::function<bool()>& condition, DWORD timeoutMs);
// The median gap between two polls of the last PollUntil.
double LastPollGapMs();
bool HasContent(const std::string& path);

COLORREF ScreenPixel(int x, int y);
// Whether the window is shown and the pixel at client (x, y) is white on screen.
bool ShowsWhiteAt(HWND window, int x, int y);

// The shells a benchmark measures, taken in turn within each run: this build's ("this shell"),
// then the shell.exe that MORVESSA_BENCH_AGAINST names, when it is set (scripts/bench.sh sets it
// from AGAINST=REVISION). Each is put in GameFolder::shellExe before its runs.
struct ComparedShell {
    std::string exe;  // "" for this build's
    std::string label;
};
std::vector<ComparedShell> ComparedShells();

std::string BaselinePath();
std::string DemoGamePath();
// The idle loop program (see idle_loop_baseline.cpp); its window once it has one.
HWND StartBaseline(ChildRun& baseline, const std::string& mode);

// What Wine tells of another process: resident set (and its peak), private bytes, and its
// GDI and kernel handle counts (0 where Wine keeps no count).
struct ProcessFigures {
    double peakResidentMB;
    double residentMB;
    double privateMB;
    DWORD gdiHandles;
    DWORD kernelHandles;
};
ProcessFigures ReadProcessFigures(HANDLE process);
// The same from outside, from Linux's view of the process whose command line names that
// program (through Wine's Z: drive): resident set and its anonymous (private) part, in MB.
// False when no such process is found.
bool ReadLinuxFigures(const std::string& programPath, double* residentMB, double* anonymousMB);


// Lays out the folder as ShellRun::Start does (with run.settings), without the arcade journal
// (whose writes would count as the shell's work), and starts the shell; *startedMs is the moment just before.
// With waitWindow, true once the wrapper window exists (run.wrapper).
bool StartShell(ShellRun& run, const std::string& gameBehaviour, bool waitWindow, double* startedMs = nullptr);
// The idle loop program and then the shell, each run at the same time as the other;
// false, having said which did not come up, when either fails.
bool StartSideBySide(ChildRun& baseline, const std::string& baselineMode, ShellRun& shell,
                     const std::string& gameBehaviour);
// The first game's process id from its journal, or 0.
DWORD WaitGamePid(const ShellRun& run, DWORD timeoutMs);
