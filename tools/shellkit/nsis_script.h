#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "file_system.h"

// Everything the installer script is made from.
struct InstallerPlan {
    std::string name;       // the game's file name, also its install folder's
    std::string title;      // the name players see on the pages, the shortcuts and the uninstall entry
    std::string shortcut;   // the title as a shortcut's file name
    std::string publisher;
    std::string applicationId;
    std::string appUserModelId;  // the one the shell gives itself and the game's windows
    std::string version;    // X.Y.Z
    bool x64 = false;       // the shell is x86-64: a 64-bit setup, per-machine under the 64-bit Program Files
    std::string sourceFolder;
    std::vector<FolderEntry> files;
    // Files to install from elsewhere (signed copies), by their path inside the folder.
    std::map<std::string, std::string> replacements;
    std::string icon;            // an .ico for the setup and the uninstaller, or ""
    bool gameImageHasIcon = false;  // else Windows shows the shell's icon for the game
    std::string signUninstaller;  // a command with %1 for the uninstaller's path, or ""
    std::string pluginFolder;     // signed copies of the NSIS plug-ins for the target, or ""
    std::string outFile;
};

// The NSIS target of the setup, also the name of its plug-ins' folder.
const char* NsisTarget(bool x64);

// The uninstall entry's key name: one per game and publisher, the same for every version.
std::string UninstallKeyName(const std::string& publisher, const std::string& applicationId);

// An NSIS script: per-user by default with no elevation, per-machine with /AllUsers (the arcade
// folder then writable by the players); never over a running copy; upgrades that keep what the
// game and its arcade layer wrote, never put back an older arcade DLL and drop what the last
// version installed and this one does not; an uninstaller that removes what the shell and the
// arcade layer own and names what the game wrote. Every text in it is UTF-8.
std::string InstallerScript(const InstallerPlan& plan);
