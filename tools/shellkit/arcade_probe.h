#pragma once
#include <windows.h>

#include <string>

#include "report.h"

// What the child that drives the DLL shares with the parent that watches it: the call in
// progress, so that a crash or a hang can be named, and the counts of lines it printed.
struct ArcadeProbe {
    volatile LONG call;      // calls made into the DLL so far, counted from 1
    volatile LONG inCall;    // 1 while the DLL runs
    volatile LONG session;
    volatile LONG frame;     // within the run, counted from 1; 0 before the first
    volatile DWORD callStart;  // GetTickCount when the call began
    volatile LONG errors;
    volatile LONG warnings;
    volatile LONG finished;  // the child ran to its end
    char exportName[64];
    char crash[512];         // set by the child when it caught a fault

    // "call 12 (madll_EnterMenuSession, session 1)" or "... frame 3)".
    std::string Where() const;
};

// Prints like Report, and keeps the counts where the parent reads them.
struct ProbeReport {
    Report report;
    ArcadeProbe* probe = nullptr;
    std::string shown;

    void Error(const std::string& text);
    void Warning(const std::string& text);
    // After lines printed through `report` directly.
    void Sync();
};

// A DLL call that runs this long is taken as hung.
const DWORD ARCADE_HANG_MS = 3000;
