#include "shell_driver.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

GameFolder::GameFolder(const std::string& gameName)
{
    shellPath = File(gameName + ".exe");
    CopyFileTo(ProgramFolder() + "shell.exe", shellPath);
    CopyFileTo(ProgramFolder() + "demo-game.exe", File(gameName + ".MWG"));
    CreateDirectoryA(File("MorvessaArcade").c_str(), nullptr);
    CopyFileTo(ProgramFolder() + "MorvessaArcade.dll", File("MorvessaArcade\\MorvessaArcade.dll"));
}

bool ShellRun::Start(const std::string& gameBehaviour, const std::string& arcadeSettings)
{
    folder.WriteSettings(settings);
    // Without its background the closing screen would draw each frame over the last one.
    if (!CopyFileTo(ProgramFolder() + "testdata\\Background.jpg", folder.File("Background.jpg")))
        return false;
    folder.WriteArcadeSettings("journal=" + arcadeJournal + "\r\n" + arcadeSettings);
    SetDemoGameBehaviour(gameBehaviour, gameJournal);
    ParkMouse();
    if (!shell.Start(folder.shellPath))
        return false;
    wrapper = shell.WaitWindow(kWrapperClass);
    return wrapper != nullptr;
}

std::vector<std::string> ShellRun::ArcadeCalls() const
{
    std::vector<std::string> calls;
    std::ifstream lines(arcadeJournal);
    for (std::string line; std::getline(lines, line);)
        calls.push_back(line);
    return calls;
}

int ShellRun::FindCall(const std::string& prefix, size_t from) const
{
    const std::vector<std::string> calls = ArcadeCalls();
    for (size_t i = from; i < calls.size(); ++i) {
        if (calls[i].compare(0, prefix.size(), prefix) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

bool ShellRun::WaitCall(const std::string& prefix, size_t from) const
{
    return WaitUntil([&] { return FindCall(prefix, from) >= 0; }, 3000);
}

std::vector<DWORD> ShellRun::GamePids() const
{
    std::vector<DWORD> pids;
    for (const JournalLine& line : ReadJournal(gameJournal)) {
        if (line.event == "start" && line.rest.compare(0, 4, "pid=") == 0)
            pids.push_back(static_cast<DWORD>(std::stoul(line.rest.substr(4))));
    }
    return pids;
}

HWND ShellRun::GameWindow(DWORD pid) const
{
    ChildRun game;
    game.process.dwProcessId = pid;
    return game.FindWindowOf("MorvessaDemoGame");
}

bool ShellRun::WaitVisible(bool visible, DWORD timeoutMs) const
{
    return WaitUntil([&] { return (IsWindowVisible(wrapper) != FALSE) == visible; }, timeoutMs);
}

long ShellRun::EndedAfter(DWORD since, DWORD timeoutMs)
{
    const LONG left = static_cast<LONG>(since + timeoutMs - GetTickCount());
    if (shell.WaitExit(left > 0 ? static_cast<DWORD>(left) : 0) != 0)
        return -1;
    return static_cast<long>(GetTickCount() - since);
}

std::string GameName(size_t length)
{
    const std::string words = "Quest for the Crystal Harbor of Lantern Isles ";
    std::string name;
    while (name.size() < length)
        name += words;
    name.resize(length);
    return name;
}

static void MoveMouseToScreen(int x, int y)
{
    SetCursorPos(x, y);
    // A move of nothing through the input path, so the window under the cursor hears of it.
    mouse_event(MOUSEEVENTF_MOVE, 0, 0, 0, 0);
}

void MoveMouseTo(HWND wrapper, int x, int y)
{
    POINT at = {x, y};
    ClientToScreen(wrapper, &at);
    MoveMouseToScreen(at.x, at.y);
}

void ParkMouse()
{
    MoveMouseToScreen(1000, 10);
}

bool ClickButtonWhenHovered(HWND wrapper, int buttonLeft)
{
    MoveMouseTo(wrapper, buttonLeft + 55, 488);
    PixelCanvas shot(720, 540);
    if (!WaitUntil([&] { return shot.CaptureClient(wrapper), shot.At(buttonLeft + 6, 490) == kHoverGrey; }, 3000))
        return false;
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    Sleep(30);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    return true;
}

void DragOnScreen(POINT from, POINT to)
{
    MoveMouseToScreen(from.x, from.y);
    Sleep(60);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    Sleep(100);
    for (int i = 1; i <= 10; ++i) {
        MoveMouseToScreen(from.x + (to.x - from.x) * i / 10, from.y + (to.y - from.y) * i / 10);
        Sleep(30);
    }
    Sleep(100);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}

bool IsForegroundOf(DWORD pid)
{
    DWORD owner = 0;
    HWND foreground = GetForegroundWindow();
    return foreground != nullptr && GetWindowThreadProcessId(foreground, &owner) != 0 && owner == pid;
}

RECT CentredWrapperRect()
{
    RECT outer = {0, 0, 720, 540};
    AdjustWindowRectEx(&outer, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, FALSE, 0);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int left = work.left + (work.right - work.left - width) / 2;
    const int top = work.top + (work.bottom - work.top - height) / 2;
    return RECT{left, top, left + width, top + height};
}

static int Luminance(COLORREF colour)
{
    return (GetRValue(colour) + GetGValue(colour) + GetBValue(colour)) / 3;
}

int TextMismatch(const PixelCanvas& shot, int x, int top, int bottom, const char* text, int points)
{
    // The shell's font rule, drawn black on a tone of the panel it sits on.
    PixelCanvas reference(400, 60, RGB(236, 231, 222));
    HFONT font = CreateFontA(-MulDiv(points, 96, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH, "Arial Bold");
    HGDIOBJ previous = SelectObject(reference.dc, font);
    const int length = lstrlenA(text);
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(reference.dc, text, length, &extent);
    SetBkMode(reference.dc, TRANSPARENT);
    TextOutA(reference.dc, 0, 0, text, length);
    DeleteObject(SelectObject(reference.dc, previous));
    GdiFlush();

    int best = 1 << 30;
    for (int y = top; y <= bottom; ++y) {
        int mismatches = 0;
        for (int j = 0; j < std::min<int>(extent.cy, reference.height); ++j) {
            for (int i = 0; i < std::min<int>(extent.cx, reference.width); ++i) {
                // Loose enough for the edge pixels that blend into a slightly different panel tone.
                mismatches += x + i >= shot.width || y + j >= shot.height ||
                              std::abs(Luminance(reference.At(i, j)) - Luminance(shot.At(x + i, y + j))) > 60;
            }
        }
        best = std::min(best, mismatches);
    }
    return best;
}

bool ShowsClosingScreen(HWND wrapper, PixelCanvas& shot, DWORD timeoutMs)
{
    return WaitUntil([&] {
        shot.CaptureClient(wrapper);
        return shot.At(kPlayGameLeft + 6, 490) == kWhite && shot.At(kOtherGamesLeft + 6, 490) == kWhite;
    }, timeoutMs);
}

int ShownCountdown(HWND wrapper)
{
    PixelCanvas shot(720, 540);
    shot.CaptureClient(wrapper);
    int shown = -1;
    int best = 3;
    for (int seconds = 0; seconds <= 20; ++seconds) {
        const int mismatch = TextMismatch(shot, 460, 60, 300, (std::to_string(seconds) + " Seconds.").c_str(), 10);
        if (mismatch < best) {
            best = mismatch;
            shown = seconds;
        }
    }
    return shown;
}
