#pragma once
// The whole shell driven from outside, as a player drives it.

#include "draw/background_picture.h"
#include "harness.h"

const char kWrapperClass[] = "MorvessaGameWrapper";
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kHoverGrey = RGB(225, 225, 225);
// Left edges of the closing screen's buttons.
const int kPlayGameLeft = 460;
const int kOtherGamesLeft = 587;

// A game folder as a publisher ships it: the shell named after the game, the demo game, the arcade DLL.
struct GameFolder : TempFolder {
    // The shell copied into each folder: shell.exe beside this program when empty.
    static std::string shellExe;
    std::string shellPath;
    explicit GameFolder(const std::string& gameName = "Puzzle");
    void WriteSettings(const std::string& text) const { Write("MAW_002.dat", text); }
    // The reference DLL's test settings ("key=value" lines).
    void WriteArcadeSettings(const std::string& text) const { Write("MorvessaArcade\\ArcadeTest.txt", text); }
};

// The shell in a game folder, started as a player would, with journals of the game and the arcade DLL.
struct ShellRun {
    GameFolder folder;
    TempFolder journals;
    std::string gameJournal = journals.File("game.txt");
    std::string arcadeJournal = journals.File("arcade.txt");
    std::string settings = "Application Name=Sample Game\r\n";
    bool background = true;  // false: a folder without its "Background.jpg"
    ChildRun shell;
    HWND wrapper = nullptr;

    // False when the shell or its window did not come up.
    bool Start(const std::string& gameBehaviour, const std::string& arcadeSettings = "");
    std::vector<std::string> ArcadeCalls() const { return ReadLines(arcadeJournal); }
    // Index of the first arcade journal line at or after `from` that starts with the prefix, or -1.
    int FindCall(const std::string& prefix, size_t from = 0) const;
    bool WaitCall(const std::string& prefix, size_t from = 0) const;
    // Process ids of the games the shell started, from their journal's "start" lines.
    std::vector<DWORD> GamePids() const;
    HWND GameWindow(DWORD pid) const;
    bool WaitVisible(bool visible, DWORD timeoutMs = 10000) const;
    // Milliseconds from `since` until the shell ended with exit code 0, or -1 when it has not ended
    // by `since` + timeoutMs. Nobody answers a question box, so a shell that asks does not end.
    long EndedAfter(DWORD since, DWORD timeoutMs);
};

// This process's background picture set aside for a scope: the old way's frames without one.
struct BackgroundAside {
    IPicture* kept = TheBackground.picture;
    BackgroundAside() { TheBackground.picture = nullptr; }
    ~BackgroundAside() { TheBackground.picture = kept; }
    BackgroundAside(const BackgroundAside&) = delete;
    BackgroundAside& operator=(const BackgroundAside&) = delete;
};

// A game name of exactly `length` characters, in words.
std::string GameName(size_t length);

// Real input through Wine's input path, at client coordinates of the wrapper.
void MoveMouseTo(HWND wrapper, int x, int y);
void ParkMouse();
// Clicks a closing-screen button once it shows the hover: a window just shown may drop a click
// that comes before it follows the mouse. False when no hover showed.
bool ClickButtonWhenHovered(HWND wrapper, int buttonLeft);
// The left button held down at one screen point and carried in steps to another.
void DragOnScreen(POINT from, POINT to);

bool IsForegroundOf(DWORD pid);
// The centred outer rectangle of a 720 x 540 client in the work area.
RECT CentredWrapperRect();
// The whole seconds the closing screen of the named game shows now (0 to 20), or -1.
int ShownCountdown(HWND wrapper, const std::string& name = "Sample Game");
