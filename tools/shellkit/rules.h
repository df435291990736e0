#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "file_system.h"
#include "report.h"
#include "host/app_user_model_id.h"

// The rules a game folder lives by, each reporting what breaks it.

// What the shell will read from the settings file, as far as the rules need it.
struct SettingsReading {
    bool hasName = false;
    std::string name;       // as the shell keeps it (at most 254 characters)
    int nameLine = 0;
    std::string publisher;  // the kit's own PUBLISHER_KEY line, when there is one
    std::string applicationId;  // as written
};
void CheckSettings(const std::string& path, const std::vector<uint8_t>& bytes, Report& report,
                   SettingsReading& reading);

// Why a value cannot be one of the IDs, or "" when it can.
std::string NumberProblem(const std::string& value);

// Why a name cannot name the game's files (NAME.exe, NAME.MWG and its folder), or "" when it can.
std::string FileNameProblem(const std::string& name);

// What the player sees of the title the settings hold (Windows-1252 bytes, as the shell reads them).
void CheckTitle(const std::string& path, int line, const std::string& title, Report& report);

// The folder's executables and arcade layer; `name` is the game's file name without extension.
// Returns the shell's machine type, 0 when it is unknown.
uint16_t CheckExecutables(const std::string& folder, const std::string& shown, const std::string& name, Report& report);
// Whether an image is the shell, under any name and of any build.
bool IsShellImage(const std::vector<uint8_t>& bytes);
// An arcade DLL's file: a DLL of the shell's machine (0: any) with every export the shell links;
// `consequence` says what the shell then does.
void CheckArcadeDll(const std::string& dll, const std::string& dllShown, uint16_t shellMachine, Report& report,
                    const char* consequence);
void CheckArcadeLayer(const std::string& folder, const std::string& shown, uint16_t shellMachine, Report& report);

// Every rule over a whole folder; `shown` is how its paths are named in the report. Returns
// 0 without errors, 1 with errors, 2 when the folder cannot be checked at all.
int CheckFolder(const std::string& folder, const std::string& shown, Report& report, SettingsReading& reading,
                std::string& gameName);

// The installed path of every file, in the default folder of each install mode, against the
// limit the shell and Windows live with.
void CheckInstalledPaths(const std::vector<FolderEntry>& files, const std::string& shown, const std::string& name,
                         const std::string& publisher, uint16_t shellMachine, Report& report);

// The longest path the shell can open (MAX_PATH less its terminator).
const size_t PATH_LIMIT = 259;
// The account name's length the per-user install folder is measured with: a long one.
const size_t ACCOUNT_NAME_LENGTH = 20;

// Files that are no part of a game: system litter and debug files, left out of the installer
// (with a warning), and installers, refused (an error).
enum class StrayKind { None, LeftOut, Refused };
StrayKind KindOfStray(const std::string& relativePath, const std::string& name, std::string& what);
void CheckStrayFiles(const std::vector<FolderEntry>& files, const std::string& shown, const std::string& name,
                     Report& report);
// The files an installer takes from the folder: all of them but those left out.
bool ListShippedFiles(const std::string& folder, std::vector<FolderEntry>& files);

// Black text on the closing screen needs this contrast against the picture under its column.
const double LEAST_TEXT_CONTRAST = 4.5;
