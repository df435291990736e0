#pragma once
#include <windows.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "arcade_frame_buffer.h"
#include "arcade_frame_checks.h"
#include "arcade_growth.h"
#include "arcade_pictures.h"
#include "arcade_probe.h"

// How the run goes, from the command's flags.
struct ArcadeRunSettings {
    std::string dllPath;      // absolute
    std::string folder;       // the DLL's folder, without a trailing separator
    uint32_t applicationId = 1001;
    std::string applicationName = "Target Practice";
    uint32_t channelId = 7;
    int frames = 200;         // in all, shared out over the sessions
    int sessions = 2;
    std::string pictures;     // "" for none
};

// Drives the DLL through the shell's own arcade layer, the way the shell's screens do, and
// checks what comes back. Runs in the child process that the parent watches.
struct ArcadeDriver {
    ArcadeRunSettings settings;
    ProbeReport out;
    ArcadeProbe* probe = nullptr;
    GuardedFrame frame;
    FrameChecks checks;
    FramePictures pictures;
    HWND window = nullptr;
    bool linked = false;

    // Runs every session and shuts down; the counts are in the probe.
    void Run();
    // The call about to be made, so that a crash or a hang names it.
    void Begin(const char* exportName);
    void End();

private:
    std::set<std::string> reported_;
    std::vector<double> frameMs_;
    ResourceLevels start_;
    int startFrame_ = 0;
    std::string scratch_;

    bool Link();
    void ReportMissingExports(const char* linkError);
    bool RunSession(int session);
    // True when the session reports itself complete after the frame.
    bool Frame(bool repainted);
    void Present(bool repainted);
    bool OfferWaysOut(int session);
    void UpdateAsked();
    void UpdateApplied();
    void ReportTiming();
    void ShutDown(const std::vector<DWORD>& threadsBefore);
    // True the first time a kind of problem is seen: each is reported once, where it first happens.
    bool First(const char* kind);
    std::string FrameName() const;
};
