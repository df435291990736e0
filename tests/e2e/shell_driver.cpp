#include "shell_driver.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "demo_game_control.h"

const char kWrapperClass[] = "MorvessaGameWrapper";
const char kGameClass[] = "MorvessaDemoGame";

bool ShellRun::Start(const std::string& gameBehaviour, const std::string& arcadeSettings)
{
    folder.WriteSettings("Application Name=Sample Game\r\n");
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

std::vector<DWORD> ShellRun::GamePids() const
{
    std::vector<DWORD> pids;
    for (const JournalLine& line : ReadJournal(gameJournal)) {
        if (line.event != "start" || line.rest.compare(0, 4, "pid=") != 0)
            continue;
        pids.push_back(static_cast<DWORD>(std::stoul(line.rest.substr(4))));
    }
    return pids;
}

HWND ShellRun::GameWindow(DWORD pid) const
{
    ChildRun game;
    game.process.dwProcessId = pid;
    return game.FindWindowOf(kGameClass);
}

bool ShellRun::WaitVisible(bool visible, DWORD timeoutMs) const
{
    return WaitUntil([&] { return (IsWindowVisible(wrapper) != FALSE) == visible; }, timeoutMs);
}

DWORD ShellRun::WaitExitWithoutQuestion(DWORD timeoutMs, bool* asked)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD code = shell.WaitExit(20);
        if (code != STILL_ACTIVE || GetTickCount() - start > timeoutMs)
            return code;
        if (shell.FindWindowOf("#32770") != nullptr)
            *asked = true;
    }
}

static void SendMouse(DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

void MoveMouseToScreen(int x, int y)
{
    SetCursorPos(x, y);
    // A move of nothing through the input path, so the window under the cursor hears of it.
    SendMouse(MOUSEEVENTF_MOVE);
}

void MoveMouseTo(HWND wrapper, int x, int y)
{
    POINT at = {x, y};
    ClientToScreen(wrapper, &at);
    MoveMouseToScreen(at.x, at.y);
}

void ClickAt(HWND wrapper, int x, int y)
{
    MoveMouseTo(wrapper, x, y);
    Sleep(60);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Sleep(30);
    SendMouse(MOUSEEVENTF_LEFTUP);
}

void ParkMouse()
{
    MoveMouseToScreen(1000, 10);
}

void CaptureClient(HWND wrapper, PixelCanvas& into)
{
    POINT origin = {0, 0};
    ClientToScreen(wrapper, &origin);
    HDC screen = GetDC(nullptr);
    BitBlt(into.dc, 0, 0, into.width, into.height, screen, origin.x, origin.y, SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();
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

// Loose enough for the edge pixels that blend into a slightly different panel tone.
static bool Far(COLORREF a, COLORREF b)
{
    return std::abs(Luminance(a) - Luminance(b)) > 60;
}

int TextMismatch(const PixelCanvas& shot, int x, int y, const char* text, int points)
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
    SetTextColor(reference.dc, RGB(0, 0, 0));
    TextOutA(reference.dc, 0, 0, text, length);
    SelectObject(reference.dc, previous);
    DeleteObject(font);
    GdiFlush();

    int mismatches = 0;
    for (int j = 0; j < extent.cy && j < reference.height; ++j) {
        for (int i = 0; i < extent.cx && i < reference.width; ++i) {
            const bool inside = x + i < shot.width && y + j < shot.height;
            if (!inside || Far(reference.At(i, j), shot.At(x + i, y + j)))
                ++mismatches;
        }
    }
    return mismatches;
}

int BodyLineMismatch(const PixelCanvas& shot, int top, int bottom, const char* text, int* row)
{
    int best = 1 << 30;
    for (int y = top; y < bottom; ++y) {
        const int mismatch = TextMismatch(shot, 460, y, text, 10);
        if (mismatch < best) {
            best = mismatch;
            *row = y;
        }
    }
    return best;
}

bool ShowsTwentySeconds(HWND wrapper)
{
    PixelCanvas shot(720, 540);
    CaptureClient(wrapper, shot);
    int row = 0;
    return BodyLineMismatch(shot, 60, 300, "20 Seconds.", &row) <= 2;
}

int ShownCountdown(HWND wrapper)
{
    PixelCanvas shot(720, 540);
    CaptureClient(wrapper, shot);
    int shown = -1;
    int best = 1 << 30;
    for (int seconds = 0; seconds <= 20; ++seconds) {
        int row = 0;
        const std::string line = std::to_string(seconds) + " Seconds.";
        const int mismatch = BodyLineMismatch(shot, 60, 300, line.c_str(), &row);
        if (mismatch < best) {
            best = mismatch;
            shown = seconds;
        }
    }
    return best <= 2 ? shown : -1;
}

bool ClickButtonWhenHovered(HWND wrapper, int buttonLeft)
{
    MoveMouseTo(wrapper, buttonLeft + 55, 488);
    PixelCanvas shot(720, 540);
    if (!WaitUntil([&] { return CaptureClient(wrapper, shot), shot.At(buttonLeft + 6, 490) == kHoverGrey; }, 3000))
        return false;
    ClickAt(wrapper, buttonLeft + 55, 488);
    return true;
}

void PressKey(WORD key)
{
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = key;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

void DragOnScreen(POINT from, POINT to)
{
    MoveMouseToScreen(from.x, from.y);
    Sleep(60);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Sleep(100);
    const int steps = 10;
    for (int i = 1; i <= steps; ++i) {
        MoveMouseToScreen(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps);
        Sleep(30);
    }
    Sleep(100);
    SendMouse(MOUSEEVENTF_LEFTUP);
}
