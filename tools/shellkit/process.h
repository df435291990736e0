#pragma once
#include <string>
#include <vector>

// Runs a program found on the search path with its arguments, its output going to logPath.
// Returns its exit code, or -1 when it could not be started.
int RunProgram(const std::vector<std::string>& command, const std::string& logPath);
// Runs a command line through the platform's shell (sh, cmd), its output going to logPath.
int RunShellCommand(const std::string& command, const std::string& logPath);
// A path quoted for that shell.
std::string ShellQuoted(const std::string& path);
// The shell's command that moves a file over another.
extern const char SHELL_MOVE[];
// And the one that copies a file.
extern const char SHELL_COPY[];
// The folder this program's own executable lies in.
std::string ProgramFolder();
// Paths in the kit's scripts are UTF-8 natively and in the ANSI code page on Windows.
extern const bool PATHS_ARE_UTF8;
