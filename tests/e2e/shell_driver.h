#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "game_folder.h"
#include "pixels.h"
#include "process_driver.h"
#include "wait.h"

extern const char kWrapperClass[];
extern const char kGameClass[];
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kHoverGrey = RGB(225, 225, 225);


// The shell in a game folder with the closing screen's background, started as a player would,
// with journals for the demo game and the reference arcade DLL.
struct ShellRun {
    GameFolder folder;
    TempFolder journals;
    std::string gameJournal = journals.File("game.txt");
    std::string arcadeJournal = journals.File("arcade.txt");
    ChildRun shell;
    HWND wrapper = nullptr;

    // The title is "Sample Game". False when the shell or its window did not come up.
    bool Start(const std::string& gameBehaviour, const std::string& arcadeSettings = "");
    std::vector<std::string> ArcadeCalls() const;
    // Process ids of the games the shell started, from their journal's "start" lines.
    std::vector<DWORD> GamePids() const;
    HWND GameWindow(DWORD pid) const;
    bool WaitVisible(bool visible, DWORD timeoutMs) const;
    // Waits for the end while watching for a question box; the exit code, or STILL_ACTIVE.
    DWORD WaitExitWithoutQuestion(DWORD timeoutMs, bool* asked);
};

// Real input through Wine's input path, at client coordinates of the wrapper.
void MoveMouseToScreen(int x, int y);
void MoveMouseTo(HWND wrapper, int x, int y);
void ClickAt(HWND wrapper, int x, int y);
void ParkMouse();

// The wrapper's client area as it is on screen now.
void CaptureClient(HWND wrapper, PixelCanvas& into);
bool IsForegroundOf(DWORD pid);
// The centred outer rectangle of a 720 x 540 client in the work area.
RECT CentredWrapperRect();

// Pixels whose darkness differs between the shot at (x, y) and the text drawn there in the
// shell's font; what another text would give tells how well this one fits.
int TextMismatch(const PixelCanvas& shot, int x, int y, const char* text, int points);
// The best fit of a line of 10-point body text starting at x 460, between rows top and bottom.
int BodyLineMismatch(const PixelCanvas& shot, int top, int bottom, const char* text, int* row);
// Captured within half a second of the closing screen's first frame: it shows 20 seconds.
bool ShowsTwentySeconds(HWND wrapper);

// The whole number of seconds the closing screen's body shows now (0 to 20), or -1 when no
// number fits its last line.
int ShownCountdown(HWND wrapper);

// Clicks a closing-screen button (left edge 460 or 587) once it shows the hover: a window just
// shown may drop a click that comes before it follows the mouse. False when no hover showed.
bool ClickButtonWhenHovered(HWND wrapper, int buttonLeft);

// A key pressed and released through Wine's input path; it goes to the focused window.
void PressKey(WORD key);
// The left button held down at one screen point and carried in steps to another.
void DragOnScreen(POINT from, POINT to);
