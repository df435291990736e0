#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "report.h"

// The rules a game folder lives by, each reporting what breaks it.

// The kit's own line in the settings file, naming the publisher for the installer; the shell
// does not read it.
const char PUBLISHER_KEY[] = "Publisher=";

// What the shell will read from the settings file, as far as the rules need it.
struct SettingsReading {
    bool hasName = false;
    std::string name;       // as the shell keeps it (at most 254 characters)
    int nameLine = 0;
    std::string publisher;  // the kit's own PUBLISHER_KEY line, when there is one
};
void CheckSettings(const std::string& path, const std::vector<uint8_t>& bytes, Report& report,
                   SettingsReading& reading);

// Why a value cannot be one of the IDs, or "" when it can.
std::string NumberProblem(const std::string& value);

// Why a name cannot be a game's name (its file names and its title), or "" when it can.
std::string NameProblem(const std::string& name);

// The folder's executables and arcade layer; `name` is the game's file name without extension.
// Returns the shell's machine type, 0 when it is unknown.
uint16_t CheckExecutables(const std::string& folder, const std::string& shown, const std::string& name, Report& report);
// An arcade DLL's file: a DLL of the shell's machine (0: any) with every export the shell links;
// `consequence` says what the shell then does.
void CheckArcadeDll(const std::string& dll, const std::string& dllShown, uint16_t shellMachine, Report& report,
                    const char* consequence);
void CheckArcadeLayer(const std::string& folder, const std::string& shown, uint16_t shellMachine, Report& report);

// Every rule over a whole folder; `shown` is how its paths are named in the report. Returns
// 0 without errors, 1 with errors, 2 when the folder cannot be checked at all.
int CheckFolder(const std::string& folder, const std::string& shown, Report& report, SettingsReading& reading,
                std::string& gameName);

// The installed path of every file against the limit the shell lives with.
void CheckInstalledPaths(const std::string& folder, const std::string& shown, const std::string& name,
                         Report& report);

// The longest path the shell can open (MAX_PATH less its terminator).
const size_t PATH_LIMIT = 259;
// Where a 32-bit game usually lands on a 64-bit Windows.
const char TYPICAL_INSTALL_FOLDER[] = "C:\\Program Files (x86)\\";
