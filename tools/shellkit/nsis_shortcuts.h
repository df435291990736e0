#pragma once
#include <string>

#include "nsis_script.h"

// The file whose first icon stands for the game: its game image's when it has one, else the shell's.
std::string GameIconFile(const InstallerPlan& plan);
// ShortcutAppId: gives the shortcut whose path is on the stack the product's AppUserModelID and
// notes whether that worked. NSIS has no instruction for it, so it goes through COM.
std::string ShortcutFunctions(const InstallerPlan& plan);
// The game's shortcut at a path (NSIS text such as $R3), with the ID.
std::string MakeShortcut(const InstallerPlan& plan, const std::string& link);
