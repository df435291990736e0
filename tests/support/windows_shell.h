#pragma once
#include <windows.h>

#include <functional>
#include <string>

// What Windows shows of an installed program, and the controls of a setup's pages.

std::string KnownFolder(int folder);
// The pixels of a program's first icon as Windows shows it at 32 x 32, or "".
std::string IconImage(const std::string& path);
// Whether a program's manifest declares it DPI aware.
bool DpiAware(const std::string& path);

// A shortcut as "TARGET ICON,INDEX in FOLDER" ("" for none), and its AppUserModelID or "(none)".
struct ShortcutInfo {
    std::string place;
    std::string appId;
};
ShortcutInfo ReadShortcut(const std::string& path);

// A shown control anywhere inside a window whose text is `text` (or, with `part`, holds it).
HWND WaitControl(HWND window, const std::string& text, DWORD timeoutMs = 20000, bool part = false);
bool Checked(HWND button);
// A press made while a page is still being set up can be lost: pressed again until it took.
bool PressUntil(HWND window, int id, const std::function<bool()>& took);
