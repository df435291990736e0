#pragma once
#include <string>

#include "nsis_script.h"

// What a setup or an uninstaller ends with, besides NSIS's own 0 (done), 1 (cancelled by the
// player) and 2 (stopped for any other reason). The README lists them for deployment tools.
enum SetupExitCode {
    SETUP_GAME_RUNNING = 3,
    SETUP_FOREIGN_FOLDER = 4,
    SETUP_OLDER_VERSION = 5,
    SETUP_NO_RIGHTS = 6,
    SETUP_WRITE_FAILED = 7,
    SETUP_FOLDER_UNOPENABLE = 8,
    SETUP_INSTALLED_FOR_EVERYONE = 9,
};

// The first line of a file list that this product's setups write, and the only list they act on.
std::string ProductListLine(const InstallerPlan& plan);

// The folder part of the default install folder: the publisher's name in plain ASCII, then
// the game's, so that two publishers' games of one title never share a folder.
std::string DefaultFolderPart(const InstallerPlan& plan);

// Functions that stop a setup or an uninstaller before it changes anything; each leaves ""
// on the stack when it may go on, or the exit code, having told the player why.
std::string GuardFunctions(const InstallerPlan& plan);
