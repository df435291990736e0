#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "file_system.h"

// Everything the installer script is made from.
struct InstallerPlan {
    std::string name;       // the game's file name, also its install folder and shortcut name
    std::string title;      // the application name from its settings
    std::string shortcut;   // the title as a shortcut's file name
    std::string publisher;
    std::string version;    // X.Y.Z
    std::string sourceFolder;
    std::vector<FolderEntry> files;
    std::string signedShell;  // a signed copy of NAME.exe to install instead, or ""
    std::string outFile;
};

// An NSIS script: per-machine under Program Files or per-user (MultiUser), Start-menu and
// optional desktop shortcuts with the game's icon, an uninstall entry, and an uninstaller
// that removes exactly the files it installed and names what it leaves.
std::string InstallerScript(const InstallerPlan& plan);
