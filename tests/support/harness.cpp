#include "harness.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "arcade/ma_module_state.h"
#include "host/module_directory.h"

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(10);
    }
    return true;
}

void SleepUntil(DWORD tick)
{
    const LONG left = static_cast<LONG>(tick - GetTickCount());
    if (left > 0)
        Sleep(static_cast<DWORD>(left));
}

std::string ProgramFolder()
{
    char path[MAX_PATH];
    return GetModuleDirectory(path, MAX_PATH) ? path : "";
}

bool CopyFileTo(const std::string& from, const std::string& to)
{
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

std::string MakeFoldersFor(const std::string& file)
{
    for (size_t slash = file.find('\\', 3); slash != std::string::npos; slash = file.find('\\', slash + 1))
        CreateDirectoryA(file.substr(0, slash).c_str(), nullptr);
    return file;
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(MakeFoldersFor(path), std::ios::binary) << bytes;
}

std::vector<std::string> ReadLines(const std::string& path)
{
    std::vector<std::string> lines;
    const std::string text = ReadFileBytes(path);
    for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

TempFolder::TempFolder()
{
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static unsigned serial;
    do
        path = std::string(base) + "mws" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial);
    while (!CreateDirectoryA(path.c_str(), nullptr));
    path += "\\";
}

TempFolder::~TempFolder()
{
    DeleteFolderTree(path.c_str());
}

ChildRun::~ChildRun()
{
    // Closing the job ends the program and whatever it started, in any state.
    if (job != nullptr)
        CloseHandle(job);
    if (process.hProcess != nullptr) {
        WaitForSingleObject(process.hProcess, 5000);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
}

bool ChildRun::Start(const std::string& exePath, const std::string& arguments, DWORD creationFlags)
{
    job = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    // Started from another folder on purpose: the program must find its files by its own path.
    std::string commandLine = "\"" + exePath + "\" " + arguments;
    if (!CreateProcessA(exePath.c_str(), arguments.empty() ? nullptr : &commandLine[0], nullptr, nullptr, FALSE,
                        CREATE_SUSPENDED | creationFlags, nullptr, nullptr, &startup, &process))
        return false;
    AssignProcessToJobObject(job, process.hProcess);
    ResumeThread(process.hThread);
    return true;
}

DWORD ChildRun::WaitExit(DWORD timeoutMs)
{
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    return code;
}

HWND ChildRun::FindWindowOf(const char* className, const char* caption) const
{
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, className, caption)) != nullptr) {
        DWORD owner = 0;
        if (GetWindowThreadProcessId(window, &owner) != 0 && owner == process.dwProcessId)
            return window;
    }
    return nullptr;
}

HWND ChildRun::WaitWindow(const char* className, DWORD timeoutMs) const
{
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindWindowOf(className)) != nullptr; }, timeoutMs);
    return window;
}

HWND ChildRun::WaitMessageBox(const char* caption, DWORD timeoutMs) const
{
    HWND box = nullptr;
    // The box exists before its controls are filled in.
    const bool shown = WaitUntil([&] {
        box = FindWindowOf("#32770", caption);
        return box != nullptr && IsWindowVisible(box) && !MessageBoxText(box).empty();
    }, timeoutMs);
    return shown ? box : nullptr;
}

DWORD RunToEnd(const std::string& exe, const std::string& arguments, DWORD timeoutMs)
{
    ChildRun run;
    return run.Start(exe, arguments, CREATE_NO_WINDOW) ? run.WaitExit(timeoutMs) : 0xFFFFFFFF;
}

std::string WindowText(HWND window)
{
    char text[1024] = "";
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000,
                        &copied);
    return text;
}

std::string MessageBoxText(HWND box)
{
    // A message box holds its text in the static control with the id 0xFFFF.
    return WindowText(GetDlgItem(box, 0xFFFF));
}

void PressButton(HWND box, int id)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

PixelCanvas::PixelCanvas(int width, int height, COLORREF fill) : width(width), height(height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    dc = CreateCompatibleDC(nullptr);
    void* pixels = nullptr;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    previous = SelectObject(dc, bitmap);
    bits = static_cast<uint8_t*>(pixels);
    stride = static_cast<uint32_t>((width * 3 + 3) & ~3);
    Fill(fill);
}

PixelCanvas::~PixelCanvas()
{
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

COLORREF PixelCanvas::At(int x, int y) const
{
    const uint8_t* p = bits + y * stride + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

void PixelCanvas::Fill(COLORREF colour, const RECT* area)
{
    const RECT all = {0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, area != nullptr ? area : &all, brush);
    DeleteObject(brush);
    GdiFlush();
}

int PixelCanvas::Count(COLORREF colour, const RECT* area, bool other) const
{
    GdiFlush();
    const RECT r = area != nullptr ? *area : RECT{0, 0, width, height};
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            count += (At(x, y) == colour) != other;
    return count;
}

std::string PixelCanvas::Differences(const PixelCanvas& other, const RECT* area) const
{
    GdiFlush();
    const RECT r = area != nullptr ? *area : RECT{0, 0, width, height};
    int count = 0;
    std::string first;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (At(x, y) != other.At(x, y) && count++ == 0)
                first = " first at " + std::to_string(x) + "," + std::to_string(y);
    return std::to_string(count) + first;
}

void PixelCanvas::CaptureClient(HWND window)
{
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    HDC screen = GetDC(nullptr);
    BitBlt(dc, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();
}

void SetDemoGameBehaviour(const std::string& behaviour, const std::string& journalPath)
{
    SetEnvironmentVariableA("MORVESSA_DEMO_GAME", behaviour.c_str());
    SetEnvironmentVariableA("MORVESSA_DEMO_JOURNAL", journalPath.empty() ? nullptr : journalPath.c_str());
}

std::vector<JournalLine> ReadJournal(const std::string& path)
{
    std::vector<JournalLine> lines;
    std::ifstream file(path);
    JournalLine line{};
    while (file >> line.ms >> line.event >> std::ws && std::getline(file, line.rest))
        lines.push_back(line);
    return lines;
}

std::vector<std::string> JournalMessages(const std::string& path, const std::vector<std::string>& only)
{
    std::vector<std::string> names;
    for (const JournalLine& line : ReadJournal(path)) {
        const std::string name = line.rest.substr(0, line.rest.find(' '));
        if (line.event == "msg" && std::find(only.begin(), only.end(), name) != only.end())
            names.push_back(name);
    }
    return names;
}
