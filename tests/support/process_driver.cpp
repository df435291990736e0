#include "process_driver.h"

#include <mutex>

#include "demo_game_control.h"

ChildRun::~ChildRun()
{
    // Closing the job ends the shell and the game it started, whatever state they are in.
    if (job != nullptr)
        CloseHandle(job);
    if (process.hProcess != nullptr) {
        WaitForSingleObject(process.hProcess, 5000);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
}

bool ChildRun::Start(const std::string& exePath, const std::string& arguments)
{
    job = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof(limits));

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    // Started from another folder on purpose: the program must find its files by its own path.
    std::string commandLine = "\"" + exePath + "\" " + arguments;
    if (!CreateProcessA(exePath.c_str(), arguments.empty() ? nullptr : &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                        &startup, &process))
        return false;
    AssignProcessToJobObject(job, process.hProcess);
    ResumeThread(process.hThread);
    return true;
}

DWORD ChildRun::WaitExit(DWORD timeoutMs)
{
    if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &code);
    return code;
}

namespace {
struct WindowQuery {
    DWORD processId;
    const char* className;
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM queryAddress)
{
    WindowQuery& query = *reinterpret_cast<WindowQuery*>(queryAddress);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[256] = "";
    GetClassNameA(window, className, sizeof(className));
    if (owner != query.processId || lstrcmpA(className, query.className) != 0)
        return TRUE;
    if (query.caption != nullptr && WindowText(window) != query.caption)
        return TRUE;
    query.found = window;
    return FALSE;
}
}  // namespace

HWND ChildRun::FindWindowOf(const char* className, const char* caption) const
{
    WindowQuery query = {process.dwProcessId, className, caption, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND ChildRun::WaitWindow(const char* className, const char* caption, DWORD timeoutMs) const
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = FindWindowOf(className, caption))
            return window;
        if (GetTickCount() - start > timeoutMs)
            return nullptr;
        Sleep(20);
    }
}

HWND ChildRun::WaitMessageBox(const char* caption, DWORD timeoutMs) const
{
    const DWORD start = GetTickCount();
    for (;;) {
        HWND box = FindWindowOf("#32770", caption);
        // The box exists before its controls are filled in.
        if (box != nullptr && IsWindowVisible(box) && !MessageBoxText(box).empty())
            return box;
        if (GetTickCount() - start > timeoutMs)
            return nullptr;
        Sleep(20);
    }
}

std::string WindowText(HWND window)
{
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

std::string MessageBoxText(HWND box)
{
    // The box's text is its one static control that has text (the icon is a static without).
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[64] = "";
        GetClassNameA(child, className, sizeof(className));
        const std::string text = WindowText(child);
        if (lstrcmpiA(className, "Static") == 0 && !text.empty())
            return text;
    }
    return "";
}

void PressButton(HWND box, int id)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

struct BoxAnswerer::Shared {
    std::string caption;
    int button;
    volatile bool stop = false;
    std::mutex lock;
    std::vector<std::string> texts;
};

static DWORD WINAPI AnswerBoxes(void* parameter)
{
    BoxAnswerer::Shared& shared = *static_cast<BoxAnswerer::Shared*>(parameter);
    ChildRun self;
    self.process.dwProcessId = GetCurrentProcessId();
    while (!shared.stop) {
        HWND box = self.WaitMessageBox(shared.caption.c_str(), 50);
        if (box == nullptr)
            continue;
        {
            std::lock_guard<std::mutex> guard(shared.lock);
            shared.texts.push_back(MessageBoxText(box));
        }
        PressButton(box, shared.button);
        while (IsWindow(box) && !shared.stop)
            Sleep(10);
    }
    return 0;
}

BoxAnswerer::BoxAnswerer(const char* caption, int button) : shared(new Shared)
{
    shared->caption = caption;
    shared->button = button;
    thread = CreateThread(nullptr, 0, AnswerBoxes, shared, 0, nullptr);
}

BoxAnswerer::~BoxAnswerer()
{
    shared->stop = true;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    delete shared;
}

std::vector<std::string> BoxAnswerer::Texts()
{
    std::lock_guard<std::mutex> guard(shared->lock);
    return shared->texts;
}
