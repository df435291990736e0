#include "arcade_driver.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "arcade/ma_module_state.h"
#include "arcade_stack_check.h"
#include "arcade_update.h"
#include "export_spelling.h"
#include "file_system.h"

namespace {

// The shell's frame clock.
const double TICK_MS = 20.0;
// Frames a way out of a session is given to take effect: half a second of the shell's clock.
const int WAY_OUT_FRAMES = 25;
// The window is repainted now and then: a WM_PAINT makes the next frame a repaint.
const int REPAINT_EVERY = 50;
// Growth is measured from here, after what a DLL fills once on its first frames.
const int BASELINE_FRAME = 10;
// More rectangles than this in one frame and the shell's own loop would never end.
const int RECT_LIMIT = 10000;

std::string Quoted(const char* text)
{
    return text != nullptr ? "\"" + std::string(text) + "\"" : "(null)";
}

std::string Milliseconds(double ms)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%.1f ms", ms);
    return text;
}

LPARAM PointParam(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

}  // namespace

void ArcadeDriver::Begin(const char* exportName)
{
    std::snprintf(probe->exportName, sizeof(probe->exportName), "%s", exportName);
    InterlockedIncrement(&probe->call);
    probe->callStart = GetTickCount();
    probe->inCall = 1;
}

void ArcadeDriver::End()
{
    probe->inCall = 0;
    ArcadeExport which = EXPORT_COUNT;
    long bytes = 0;
    if (StackCheckFound(which, bytes) && First("stack")) {
        // Named after the export that did it, one of those the operation may have called.
        std::snprintf(probe->exportName, sizeof(probe->exportName), "%s", ArcadeExportNames[which]);
        out.Error(probe->Where() + ": returned with " + std::to_string(bytes) +
                  " byte(s) of its arguments taken off the stack: it was built __stdcall, and the shell calls every "
                  "export __cdecl and takes the arguments off itself, so the shell's stack is corrupted; declare the "
                  "exports MADLL_CALL (__cdecl)");
    }
}

bool ArcadeDriver::First(const char* kind)
{
    return reported_.insert(kind).second;
}

std::string ArcadeDriver::FrameName() const
{
    return "session " + std::to_string(probe->session) + ", frame " + std::to_string(probe->frame);
}

bool ArcadeDriver::Link()
{
    // MA_Initialize with the DLL's own folder in place of the one beside the shell.
    ArcadeModuleState& state = ArcadeModuleState::Instance();
    state.lastError = nullptr;
    state.paletteStored = false;
    if (!::JoinPath(state.arcadeFolder, settings.folder.c_str(), "\\") ||
        settings.applicationName.size() >= MAX_APPLICATION_NAME_LENGTH) {
        out.Error("the folder or the name is too long for the shell's buffers");
        return false;
    }
    state.applicationId = settings.applicationId;
    std::strcpy(state.applicationName, settings.applicationName.c_str());
    state.developerChannelId = settings.channelId;
    state.initOptions = 0;

    InstallStackCheck();
    Begin("LoadLibrary, the version exports and madll_Initialize");
    const ArcadeResult result =
        MA_LoadAndLink(settings.applicationId, settings.applicationName.c_str(), settings.channelId, 0);
    const DWORD loadError = GetLastError();
    End();
    if (result == MA_RESULT_DLL_NOT_LOADED)
        out.Error("the shell cannot load it (LoadLibrary error " + std::to_string(loadError) + ")");
    else if (result == MA_RESULT_EXPORT_MISSING)
        ReportMissingExports(state.lastError);
    else if (result != 0)
        out.Error("madll_Initialize answered " + std::to_string(result) + ": the shell ends at start-up");
    linked = result == 0;
    return linked;
}

void ArcadeDriver::ReportMissingExports(const char* linkError)
{
    std::vector<uint8_t> bytes;
    PeImage image;
    std::string error;
    std::vector<std::string> missing;
    if (ReadWholeFile(settings.dllPath, bytes) && image.Read(bytes, error))
        missing = MissingArcadeExports(image);
    // The link stopped at the first missing export: its own line unless it is explained.
    const std::string first = missing.empty() ? "" : missing.front();
    const std::vector<std::string> lines = OtherSpellings(image, missing, "the shell ends at start-up");
    if (first.empty() || (!missing.empty() && missing.front() == first))
        out.Error(std::string(linkError) + " The shell ends at start-up.");
    for (const std::string& line : lines)
        out.Error(line);
}

void ArcadeDriver::Run()
{
    const std::vector<DWORD> threadsBefore = RunningThreads();
    if (!Link())
        return;
    for (int session = 1; session <= settings.sessions; ++session) {
        probe->session = session;
        if (!RunSession(session))
            break;
    }
    ReportTiming();
    if (startFrame_ > 0) {
        for (const std::string& line : ResourceLevels::Now().GrowthSince(start_))
            out.Error(line + " from frame " + std::to_string(startFrame_) + " to frame " +
                      std::to_string(probe->frame) + ": a DLL that keeps it up ends the shell's process");
    }
    ShutDown(threadsBefore);
    if (!scratch_.empty())
        RemoveTree(scratch_);
}

bool ArcadeDriver::RunSession(int session)
{
    Begin("madll_EnterMenuSession");
    const uint16_t result = MA_EnterMenuSession(MADLL_MENU_OTHER_GAMES, FRAME_WIDTH, FRAME_HEIGHT);
    End();
    if (result != 0) {
        Begin("madll_GetLastErrorInformation");
        const std::string text = Quoted(MA_GetLastErrorInformation());
        End();
        if (session == 1)
            out.Error("session 1: madll_EnterMenuSession answered " + std::to_string(result) + " (" + text +
                      "): the player gets an \"Error\" box instead of the menu");
        else
            out.Error("session " + std::to_string(session) + " cannot be entered after session " +
                      std::to_string(session - 1) + " completed: madll_EnterMenuSession answered " +
                      std::to_string(result) + " (" + text + ")");
        return false;
    }
    const int perSession = std::max(1, settings.frames / settings.sessions);
    for (int i = 0; i < perSession; ++i) {
        if (Frame(i == 0 || i % REPAINT_EVERY == 0))
            return true;
    }
    return OfferWaysOut(session);
}

bool ArcadeDriver::Frame(bool repainted)
{
    InterlockedIncrement(&probe->frame);
    checks.Before(frame.pixels);
    ArcadeModuleState& state = ArcadeModuleState::Instance();
    const bool applying = state.updatePending;

    LARGE_INTEGER frequency, before, after;
    QueryPerformanceFrequency(&frequency);
    Begin("madll_DrawNextFrameIntoBuffer");
    QueryPerformanceCounter(&before);
    MA_DrawNextFrameIntoBuffer(frame.pixels, FRAME_STRIDE, 3, repainted ? MADLL_FRAME_REPAINTED : MADLL_FRAME_CONTINUED);
    QueryPerformanceCounter(&after);
    End();
    // A frame that applied an update timed the shell's file work too.
    if (!applying)
        frameMs_.push_back(double(after.QuadPart - before.QuadPart) * 1000.0 / double(frequency.QuadPart));
    const std::string slack = frame.CheckSlack();
    if (!slack.empty() && First("slack"))
        out.Error(FrameName() + ": madll_DrawNextFrameIntoBuffer " + slack + ", where the shell's heap lies");
    if (applying)
        UpdateApplied();
    if (state.updatePending)
        UpdateAsked();

    Begin("madll_IsTheMenuSessionComplete");
    const bool complete = MA_IsTheMenuSessionComplete();
    End();
    if (!complete)
        Present(repainted);
    pictures.Take(frame.pixels, probe->frame, repainted);
    if (probe->frame == BASELINE_FRAME) {
        start_ = ResourceLevels::Now();
        startFrame_ = BASELINE_FRAME;
    }
    frame.SwapSide();
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
    return complete;
}

void ArcadeDriver::Present(bool repainted)
{
    Begin("madll_GetNumberOfRectsToUpdate");
    const int32_t count = MA_GetNumberOfRectsToUpdate();
    End();
    if (count < 0 && First("negative"))
        out.Error(FrameName() + ": madll_GetNumberOfRectsToUpdate answered " + std::to_string(count) +
                  ", a negative count");
    // As the shell presents: the count is asked again after each rectangle.
    int32_t asked = count;
    for (int32_t i = 0; i < asked && i < RECT_LIMIT; ++i) {
        Begin("madll_GetUpdateRect");
        const RECT rect = MA_GetUpdateRect(i);
        End();
        const std::string problem = checks.Take(rect);
        if (!problem.empty() && First(problem.find("empty") != std::string::npos ? "empty" : "outside"))
            out.Error(FrameName() + ": " + problem);
        Begin("madll_GetNumberOfRectsToUpdate");
        asked = MA_GetNumberOfRectsToUpdate();
        End();
        if (asked != count && First("count"))
            out.Error(FrameName() + ": the rectangle count changed from " + std::to_string(count) + " to " +
                      std::to_string(asked) + " between the questions of one frame");
    }
    if (repainted) {
        const long uncovered = checks.Uncovered();
        if (uncovered > 0 && First("cover"))
            out.Error(FrameName() + ": the first frame after a repaint leaves " + std::to_string(uncovered) +
                      " pixel(s) outside its rectangles: the window keeps old pixels there");
    }
    int x = 0;
    int y = 0;
    const long changed = checks.ChangedOutside(frame.pixels, x, y);
    if (changed > 0 && First("changed"))
        out.Warning(FrameName() + ": " + std::to_string(changed) + " pixel(s) changed outside the reported "
                    "rectangles (the first at " + std::to_string(x) + ", " + std::to_string(y) +
                    "): the shell does not show them");
}

bool ArcadeDriver::OfferWaysOut(int session)
{
    ArcadeModuleState& state = ArcadeModuleState::Instance();
    std::vector<std::string> tried;
    RECT back = {};
    if (!state.unrecoverable && state.dllModule != nullptr) {
        Begin("madll_GetValueAsString");
        const char* text = state.Entry<madll_GetValueAsString_t>(EXPORT_GetValueAsString)("BackControl");
        End();
        if (text == nullptr ||
            std::sscanf(text, "%ld,%ld,%ld,%ld", &back.left, &back.top, &back.right, &back.bottom) != 4)
            back = RECT{};
    }
    struct WayOut {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<std::vector<WayOut>> ways;
    std::vector<std::string> names;
    if (back.right > back.left && back.bottom > back.top) {
        const LPARAM at = PointParam((back.left + back.right) / 2, (back.top + back.bottom) / 2);
        ways.push_back({{WM_MOUSEMOVE, 0, at}, {WM_LBUTTONDOWN, MK_LBUTTON, at}, {WM_LBUTTONUP, 0, at}});
        names.push_back("a click on its back control at " + std::to_string((back.left + back.right) / 2) + ", " +
                        std::to_string((back.top + back.bottom) / 2));
    }
    ways.push_back({{WM_KEYDOWN, VK_ESCAPE, 0x00010001}, {WM_KEYUP, VK_ESCAPE, LPARAM(0xC0010001u)}});
    names.push_back("Escape");
    ways.push_back({{WM_CLOSE, 0, 0}});
    names.push_back("WM_CLOSE");

    for (size_t way = 0; way < ways.size(); ++way) {
        // Messages wait while an update is pending: the player would click again after it.
        if (state.updatePending && Frame(false))
            return true;
        for (const WayOut& step : ways[way]) {
            Begin("madll_HandleWindowsMessage");
            MA_HandleWindowsMessage(window, step.message, step.wParam, step.lParam);
            End();
        }
        for (int i = 0; i < WAY_OUT_FRAMES; ++i) {
            if (!Frame(false))
                continue;
            if (way > 0 && First("way out"))
                out.Warning("session " + std::to_string(session) + ": " + names[0] + " did not end it within " +
                            std::to_string(WAY_OUT_FRAMES) + " frames; " + names[way] + " did");
            return true;
        }
    }
    std::string offered;
    for (const std::string& name : names)
        offered += (offered.empty() ? "" : ", ") + name;
    out.Error("session " + std::to_string(session) + " did not complete within " + std::to_string(WAY_OUT_FRAMES) +
              " frames after each way out (" + offered + "): the player is kept in the menu");
    return false;
}

void ArcadeDriver::UpdateAsked()
{
    ArcadeModuleState& state = ArcadeModuleState::Instance();
    if (!First("update"))
        return;  // the DLL runs from the copy already, and updates itself there
    out.Sync();
    CheckStagedUpdate(settings.folder, ContainingFolder(out.shown), settings.applicationName, BUILD_MACHINE, out.report);
    out.Sync();
    // The shell's own update code works in a copy: the vendor's folder stays as it is.
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    scratch_ = JoinPath(temp, "shellkit-arcade-" + std::to_string(GetCurrentProcessId()));
    RemoveTree(scratch_);
    MakeFolder(scratch_);
    const std::string copy = JoinPath(scratch_, "MorvessaArcade");
    if (!CopyFolderTree(settings.folder, copy) || !::JoinPath(state.arcadeFolder, copy.c_str(), "\\"))
        out.Error(FrameName() + ": the DLL's folder could not be copied to " + copy + " to apply its update there");
}

void ArcadeDriver::UpdateApplied()
{
    // Cleared only when the DLL asks for its next update, which a frame may do at once.
    const ArcadeModuleState& state = ArcadeModuleState::Instance();
    if (state.unrecoverable && First("unrecoverable"))
        out.Error(FrameName() + ": the update staged in Update\\ did not load, link or initialise, nor did the DLL "
                                "in Backup\\: the player is told to reinstall");
    else if (state.updateRolledBack && First("rolled back"))
        out.Error(FrameName() + ": the update staged in Update\\ did not load, link or initialise: the shell rolled "
                                "back to the DLL in Backup\\");
}

void ArcadeDriver::ReportTiming()
{
    if (frameMs_.empty())
        return;
    std::vector<double> sorted = frameMs_;
    std::sort(sorted.begin(), sorted.end());
    const double median = sorted[sorted.size() / 2];
    const double worst = sorted.back();
    const size_t over = size_t(sorted.end() - std::upper_bound(sorted.begin(), sorted.end(), TICK_MS));
    const std::string figures = std::to_string(over) + " of " + std::to_string(sorted.size()) +
                                " frames took longer than the shell's 20 ms tick (median " + Milliseconds(median) +
                                ", worst " + Milliseconds(worst) + ")";
    if (median > TICK_MS)
        out.Error(figures + ": the menu and the closing countdown run slow");
    else if (over > 0 && over * 50 >= sorted.size())
        out.Warning(figures);
}

void ArcadeDriver::ShutDown(const std::vector<DWORD>& threadsBefore)
{
    ArcadeModuleState& state = ArcadeModuleState::Instance();
    // MA_ShutDown, with a look at the threads between the DLL's shut-down and its release.
    if (state.unrecoverable || state.entryPoints[EXPORT_ShutDown] == nullptr)
        return;
    linked = false;
    Begin("madll_ShutDown");
    state.Entry<madll_ShutDown_t>(EXPORT_ShutDown)();
    End();
    int left = 0;
    for (DWORD id : RunningThreads())
        left += std::find(threadsBefore.begin(), threadsBefore.end(), id) == threadsBefore.end();
    if (left > 0) {
        out.Error(std::to_string(left) + " thread(s) the DLL started still run after madll_ShutDown: the shell "
                  "releases the DLL right after, and a thread left in its code crashes the shell");
        return;
    }
    Begin("FreeLibrary");
    state.ReleaseDll();
    End();
}
