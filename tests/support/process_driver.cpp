#include "process_driver.h"

#include "wait.h"

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
    if (!CreateProcessA(exePath.c_str(), arguments.empty() ? nullptr : &commandLine[0], nullptr, nullptr, FALSE,
                        CREATE_SUSPENDED, nullptr, nullptr, &startup, &process))
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

std::string WindowText(HWND window)
{
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

std::string MessageBoxText(HWND box)
{
    // The text of a message box is its static control with the id 0xFFFF.
    return WindowText(GetDlgItem(box, 0xFFFF));
}

void PressButton(HWND box, int id)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

BoxAnswerer::BoxAnswerer(const char* caption, int button)
    : watcher([this, title = std::string(caption), button] {
          ChildRun self;
          self.process.dwProcessId = GetCurrentProcessId();
          while (!stop) {
              HWND box = self.WaitMessageBox(title.c_str(), 50);
              if (box == nullptr)
                  continue;
              {
                  std::lock_guard<std::mutex> guard(lock);
                  texts.push_back(MessageBoxText(box));
              }
              PressButton(box, button);
              while (IsWindow(box) && !stop)
                  Sleep(10);
          }
      })
{
}

BoxAnswerer::~BoxAnswerer()
{
    stop = true;
    watcher.join();
}

std::vector<std::string> BoxAnswerer::Texts()
{
    std::lock_guard<std::mutex> guard(lock);
    return texts;
}
