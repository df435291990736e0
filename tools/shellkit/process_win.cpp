#include <windows.h>

#include "file_system.h"
#include "process.h"

const bool PATHS_ARE_UTF8 = false;

namespace {

// The quoting that the C runtime's argument parser undoes.
std::string Quote(const std::string& word)
{
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : word) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

int RunLine(std::string line, const std::string& logPath)
{
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE log = CreateFileA(logPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE)
        return -1;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = log;
    startup.hStdError = log;
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                                        &startup, &process);
    CloseHandle(log);
    if (!started)
        return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

}  // namespace

const char SHELL_MOVE[] = "move /y";
const char SHELL_COPY[] = "copy /y";

int RunProgram(const std::vector<std::string>& command, const std::string& logPath)
{
    std::string line;
    for (const std::string& word : command)
        line += (line.empty() ? "" : " ") + Quote(word);
    return RunLine(line, logPath);
}

// cmd's /s takes the outer quotes off and leaves the command as it was written.
int RunShellCommand(const std::string& command, const std::string& logPath)
{
    return RunLine("cmd.exe /d /s /c \"" + command + "\"", logPath);
}

std::string ShellQuoted(const std::string& path)
{
    return "\"" + path + "\"";
}

std::string ProgramFolder()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return "";
    return ParentOf(std::string(path, length));
}
