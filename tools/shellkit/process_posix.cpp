#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "file_system.h"
#include "process.h"

const bool PATHS_ARE_UTF8 = true;

int RunProgram(const std::vector<std::string>& command, const std::string& logPath)
{
    std::vector<char*> argv;
    for (const std::string& word : command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (log < 0)
        return -1;
    int ready[2];
    if (pipe(ready) != 0) {
        close(log);
        return -1;
    }
    fcntl(ready[1], F_SETFD, FD_CLOEXEC);
    const pid_t child = fork();
    if (child == 0) {
        close(ready[0]);
        dup2(log, STDOUT_FILENO);
        dup2(log, STDERR_FILENO);
        execvp(argv[0], argv.data());
        // Tells the parent that the program could not be started at all.
        const char failed = 1;
        (void)!write(ready[1], &failed, 1);
        _exit(127);
    }
    close(log);
    close(ready[1]);
    char failed = 0;
    const bool notStarted = child < 0 || read(ready[0], &failed, 1) == 1;
    close(ready[0]);
    if (child < 0)
        return -1;
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (notStarted)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

const char SHELL_MOVE[] = "mv -f";
const char SHELL_COPY[] = "cp";

int RunShellCommand(const std::string& command, const std::string& logPath)
{
    return RunProgram({"/bin/sh", "-c", command}, logPath);
}

std::string ShellQuoted(const std::string& path)
{
    std::string quoted = "'";
    for (char c : path)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string ProgramFolder()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0)
        return "";
    return ParentOf(std::string(path, static_cast<size_t>(length)));
}
