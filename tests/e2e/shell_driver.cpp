#include "shell_driver.h"

#include "draw/background_picture.h"
#include "old_closing_frame.h"

std::string GameFolder::shellExe;

GameFolder::GameFolder(const std::string& gameName)
{
    shellPath = File(gameName + ".exe");
    CopyFileTo(shellExe.empty() ? ProgramFolder() + "shell.exe" : shellExe, shellPath);
    CopyFileTo(ProgramFolder() + "demo-game.exe", File(gameName + ".MWG"));
    CreateDirectoryA(File("MorvessaArcade").c_str(), nullptr);
    CopyFileTo(ProgramFolder() + "MorvessaArcade.dll", File("MorvessaArcade\\MorvessaArcade.dll"));
}

bool ShellRun::Start(const std::string& gameBehaviour, const std::string& arcadeSettings)
{
    folder.WriteSettings(settings);
    // Without its background the closing screen would draw each frame over the last one.
    if (background && !CopyFileTo(ProgramFolder() + "testdata\\Background.jpg", folder.File("Background.jpg")))
        return false;
    folder.WriteArcadeSettings("journal=" + arcadeJournal + "\r\n" + arcadeSettings);
    SetDemoGameBehaviour(gameBehaviour, gameJournal);
    ParkMouse();
    if (!shell.Start(folder.shellPath))
        return false;
    wrapper = shell.WaitWindow(kWrapperClass);
    return wrapper != nullptr;
}

int ShellRun::FindCall(const std::string& prefix, size_t from) const
{
    const std::vector<std::string> calls = ArcadeCalls();
    for (size_t i = from; i < calls.size(); ++i)
        if (calls[i].compare(0, prefix.size(), prefix) == 0)
            return static_cast<int>(i);
    return -1;
}

bool ShellRun::WaitCall(const std::string& prefix, size_t from) const
{
    return WaitUntil([&] { return FindCall(prefix, from) >= 0; }, 3000);
}

std::vector<DWORD> ShellRun::GamePids() const
{
    std::vector<DWORD> pids;
    for (const JournalLine& line : ReadJournal(gameJournal))
        if (line.event == "start" && line.rest.compare(0, 4, "pid=") == 0)
            pids.push_back(static_cast<DWORD>(std::stoul(line.rest.substr(4))));
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
    std::string name;
    while (name.size() < length)
        name += "Quest for the Crystal Harbor of Lantern Isles ";
    return name.substr(0, length);
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
    RECT outer = {0, 0, 720, 540}, work = {};
    AdjustWindowRectEx(&outer, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, FALSE, 0);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    const int left = work.left + (work.right - work.left - width) / 2, top = work.top + (work.bottom - work.top - height) / 2;
    return RECT{left, top, left + width, top + height};
}

int ShownCountdown(HWND wrapper, const std::string& name)
{
    // The text column above the buttons, against the old way's frame for each whole second.
    if (TheBackground.picture == nullptr)
        TheBackground.Load((ProgramFolder() + "testdata\\Background.jpg").c_str());
    PixelCanvas shot(720, 540), expected(720, 540);
    shot.CaptureClient(wrapper);
    const RECT column = {460, 30, 690, 470};
    for (int seconds = 20; seconds >= 0; --seconds) {
        DrawOldClosingFrame(expected.dc, name.c_str(), static_cast<float>(seconds));
        if (expected.Differences(shot, &column) == "0")
            return seconds;
    }
    return -1;
}
