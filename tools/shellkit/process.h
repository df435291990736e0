#pragma once
#include <string>
#include <vector>

// Runs a program found on the search path with its arguments, its output going to logPath.
// Returns its exit code, or -1 when it could not be started.
int RunProgram(const std::vector<std::string>& command, const std::string& logPath);
// The folder this program's own executable lies in.
std::string ProgramFolder();
// Paths in the kit's scripts are UTF-8 natively and in the ANSI code page on Windows.
extern const bool PATHS_ARE_UTF8;
