#include "bench_support.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "harness.h"

double NowMs()
{
    static LARGE_INTEGER frequency;
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return -1.0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

std::string MedianRange(const std::vector<double>& values, const char* format)
{
    if (values.empty())
        return "-";
    const std::string pattern = std::string(format) + " [" + format + "-" + format + "]";
    char text[96];
    std::snprintf(text, sizeof text, pattern.c_str(), Median(values), *std::min_element(values.begin(), values.end()),
                  *std::max_element(values.begin(), values.end()));
    return text;
}

ProcessFigures ReadProcessFigures(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters));
    DWORD handles = 0;
    GetProcessHandleCount(process, &handles);
    const double mb = 1024.0 * 1024.0;
    return ProcessFigures{counters.PeakWorkingSetSize / mb, counters.WorkingSetSize / mb, counters.PrivateUsage / mb,
                          GetGuiResources(process, GR_GDIOBJECTS), handles};
}

static std::string ReadSmallFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "";
    char text[4096];
    DWORD got = 0;
    ReadFile(file, text, sizeof text, &got, nullptr);
    CloseHandle(file);
    return std::string(text, got);
}

static double StatusMB(const std::string& status, const char* key)
{
    const size_t at = status.find(key);
    return at == std::string::npos ? -1.0 : std::atof(status.c_str() + at + std::strlen(key)) / 1024.0;
}

bool ReadLinuxFigures(const std::string& programPath, double* residentMB, double* anonymousMB)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &entry);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool found = false;
    do {
        const std::string folder = std::string("Z:\\proc\\") + entry.cFileName + "\\";
        if (entry.cFileName[0] < '0' || entry.cFileName[0] > '9' ||
            lstrcmpiA(ReadSmallFile(folder + "cmdline").c_str(), programPath.c_str()) != 0)
            continue;
        const std::string status = ReadSmallFile(folder + "status");
        *residentMB = StatusMB(status, "VmRSS:");
        *anonymousMB = StatusMB(status, "RssAnon:");
        found = true;
    } while (!found && FindNextFileA(search, &entry));
    FindClose(search);
    return found;
}

static double Ms(const FILETIME& time)
{
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 10000.0;
}

// Summed over the live threads: Wine answers GetProcessTimes for another process with its
// creation time only, while its thread times are real. Threads that ended are missed, and a
// shell in its steady state has none.
double CpuMs(HANDLE process)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1.0;
    const DWORD processId = GetProcessId(process);
    double total = 0.0;
    THREADENTRY32 entry;
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId)
            continue;
        HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID);
        if (thread == nullptr)
            continue;
        FILETIME created, ended, kernel, user;
        if (GetThreadTimes(thread, &created, &ended, &kernel, &user))
            total += Ms(kernel) + Ms(user);
        CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return total;
}

double CreationMs(HANDLE process)
{
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user))
        return -1.0;
    return Ms(created);
}

static std::vector<double> pollGaps;

double PollUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    pollGaps.clear();
    const double start = NowMs();
    double previous = start;
    for (;;) {
        const double now = NowMs();
        if (now != previous)
            pollGaps.push_back(now - previous);
        previous = now;
        if (condition())
            return NowMs();
        if (now - start > timeoutMs)
            return -1.0;
        Sleep(1);
    }
}

double LastPollGapMs()
{
    return Median(pollGaps);
}

bool HasContent(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) && data.nFileSizeLow > 0;
}

COLORREF ScreenPixel(int x, int y)
{
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

bool ShowsWhiteAt(HWND window, int x, int y)
{
    if (!IsWindowVisible(window))
        return false;
    POINT at = {x, y};
    ClientToScreen(window, &at);
    return ScreenPixel(at.x, at.y) == kWhite;
}

std::vector<ComparedShell> ComparedShells()
{
    std::vector<ComparedShell> shells{{"", "this shell"}};
    const char* against = std::getenv("MORVESSA_BENCH_AGAINST");
    const char* label = std::getenv("MORVESSA_BENCH_AGAINST_LABEL");
    if (against != nullptr && *against != '\0')
        shells.push_back({against, label != nullptr && *label != '\0' ? label : "the other shell"});
    return shells;
}

std::string BaselinePath()
{
    return ProgramFolder() + "idle_loop_baseline.exe";
}

std::string DemoGamePath()
{
    return ProgramFolder() + "demo-game.exe";
}

HWND StartBaseline(ChildRun& baseline, const std::string& mode)
{
    if (!baseline.Start(BaselinePath(), mode))
        return nullptr;
    return baseline.WaitWindow("MorvessaIdleLoop");
}

bool StartShell(ShellRun& run, const std::string& gameBehaviour, bool waitWindow, double* startedMs)
{
    run.folder.WriteSettings(run.settings);
    if (!CopyFileTo(ProgramFolder() + "testdata\\Background.jpg", run.folder.File("Background.jpg")))
        return false;
    SetDemoGameBehaviour(gameBehaviour, run.gameJournal);
    ParkMouse();
    if (startedMs != nullptr)
        *startedMs = NowMs();
    if (!run.shell.Start(run.folder.shellPath))
        return false;
    if (!waitWindow)
        return true;
    run.wrapper = run.shell.WaitWindow(kWrapperClass);
    return run.wrapper != nullptr;
}

DWORD WaitGamePid(const ShellRun& run, DWORD timeoutMs)
{
    if (!WaitUntil([&] { return !run.GamePids().empty(); }, timeoutMs))
        return 0;
    return run.GamePids()[0];
}

SharedCpuWindow MeasureCpuTogether(HANDLE first, HANDLE second, DWORD windowMs)
{
    const double first0 = CpuMs(first);
    const double second0 = CpuMs(second);
    const double start = NowMs();
    Sleep(windowMs);
    const double first1 = CpuMs(first);
    const double second1 = CpuMs(second);
    return SharedCpuWindow{first1 - first0, second1 - second0, NowMs() - start};
}

bool StartSideBySide(ChildRun& baseline, const std::string& baselineMode, ShellRun& shell,
                     const std::string& gameBehaviour)
{
    if (StartBaseline(baseline, baselineMode) == nullptr) {
        std::printf("the idle loop program did not start\n");
        return false;
    }
    if (!StartShell(shell, gameBehaviour, true)) {
        std::printf("the shell did not come up\n");
        return false;
    }
    return true;
}
