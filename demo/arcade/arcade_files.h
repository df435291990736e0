#pragma once
#include <string>

struct ArcadeSettings;

// The full path of this DLL's own file, wherever it was loaded from.
std::string OwnModulePath();
// The folder part of a path, ending with a backslash.
std::string FolderOf(const std::string& path);
bool FileExists(const std::string& path);
// The whole file, or "" when it cannot be read.
std::string ReadTextFile(const std::string& path);
bool WriteTextFile(const std::string& path, const std::string& text);

// What the arcade keeps beside itself: "Backup\MorvessaArcade.dll" (the copy the shell falls
// back to when an update fails), "Application.dat" and "Channel.dat". False when either of the
// last two is missing and cannot be written: the layer cannot run without them.
bool PrepareArcadeFolder(const std::string& folder, const std::string& ownPath, unsigned applicationId,
                         unsigned channelId);
// "Arcade\state.txt". Only the shut-down writes it: the shell deletes "Arcade" on every update
// and then initialises the DLL again, which must not bring the folder straight back.
void WriteStateFile(const std::string& folder, const std::string& state);

// True when the update source is this very DLL already, byte for byte: nothing to update to.
bool IsUpToDate(const std::string& ownPath, const ArcadeSettings& settings);

// Puts an update into "Update\": the new DLL, the data files and the three marker files.
// False when a file could not be written.
bool StageUpdate(const std::string& folder, const std::string& ownPath, const ArcadeSettings& settings);
