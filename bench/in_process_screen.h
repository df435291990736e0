#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

struct ScreenController;

// This program's own path.
std::string ProgramPath();
double Microseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end);

// The shell's controller on the closing screen in this very process, for a game name of that
// length: settings beside the program, a shown wrapper-sized window, the frame buffer and the
// background picture from testdata. Settings are read once per process.
ScreenController& StartClosingScreenHere(size_t nameLength, const char* className);
