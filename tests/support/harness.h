#pragma once
// Driving real things from a test: files, processes and their windows, pixels, the demo game.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Polls every 10 ms; true as soon as the condition holds.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);
void SleepUntil(DWORD tick);

// The folder this program lies in, with a trailing backslash.
std::string ProgramFolder();
bool CopyFileTo(const std::string& from, const std::string& to);
// Makes every missing folder on the way to the file; returns the file's path.
std::string MakeFoldersFor(const std::string& file);
// A whole file's bytes, or "" when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// The file's folders are made when missing.
void WriteFileBytes(const std::string& path, const std::string& bytes);
// A file's lines up to each LF: a last line without one is still being written.
std::vector<std::string> ReadLines(const std::string& path);

// A fresh folder under the temporary directory, removed with its files when it goes.
struct TempFolder {
    std::string path;  // with a trailing backslash
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string File(const std::string& name) const { return path + name; }
    void Write(const std::string& name, const std::string& bytes) const { WriteFileBytes(File(name), bytes); }
};

// One started program; everything it started is ended when this goes.
struct ChildRun {
    PROCESS_INFORMATION process = {};
    HANDLE job = nullptr;
    ChildRun() = default;
    ChildRun(const ChildRun&) = delete;
    ChildRun& operator=(const ChildRun&) = delete;
    ~ChildRun();
    // arguments: the command line after the program's quoted name, or empty for none.
    bool Start(const std::string& exePath, const std::string& arguments = "", DWORD creationFlags = 0);
    // The exit code, or STILL_ACTIVE when it has not ended within the timeout.
    DWORD WaitExit(DWORD timeoutMs);
    // A top-level window of this process with that class (and caption, when given).
    HWND FindWindowOf(const char* className, const char* caption = nullptr) const;
    HWND WaitWindow(const char* className, DWORD timeoutMs = 10000) const;
    // A message box of this process with that caption, once it is shown whole.
    HWND WaitMessageBox(const char* caption, DWORD timeoutMs = 10000) const;
};

// A console program run to its end without a console window (under Wine one would come and go
// on the virtual desktop); its exit code, or 0xFFFFFFFF when it did not start or end in time.
DWORD RunToEnd(const std::string& exe, const std::string& arguments, DWORD timeoutMs = 60000);

// Asked of the window, so that another process's edit box gives its text too; "" when it does not answer.
std::string WindowText(HWND window);
std::string MessageBoxText(HWND box);
void PressButton(HWND box, int id);

// A 24-bit top-down DIB section selected into a memory DC: something to draw into and read back.
struct PixelCanvas {
    int width;
    int height;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    uint8_t* bits = nullptr;
    uint32_t stride = 0;
    PixelCanvas(int width, int height, COLORREF fill = RGB(0, 0, 0));
    ~PixelCanvas();
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;
    COLORREF At(int x, int y) const;
    void Fill(COLORREF colour, const RECT* area = nullptr);
    // Pixels of the colour, or (with `other`) of any other colour, in the area (all when null).
    int Count(COLORREF colour, const RECT* area = nullptr, bool other = false) const;
    // How many pixels of the area differ from the other canvas's, and where the first is: "0" when none.
    std::string Differences(const PixelCanvas& other, const RECT* area = nullptr) const;
    // A window's client area as it is on screen now.
    void CaptureClient(HWND window);
};

// Steers the demo game through the variables it inherits.
void SetDemoGameBehaviour(const std::string& behaviour, const std::string& journalPath);
struct JournalLine {
    unsigned ms;
    std::string event;  // "start", "window", "msg", "exit"
    std::string rest;
};
std::vector<JournalLine> ReadJournal(const std::string& path);
// Names of the messages the game received, in order, keeping only those in `only`.
std::vector<std::string> JournalMessages(const std::string& path, const std::vector<std::string>& only);
