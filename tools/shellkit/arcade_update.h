#pragma once
#include <cstdint>
#include <string>

#include "pe_image.h"
#include "report.h"

// The machine of this build: the only kind of DLL it can load.
const uint16_t BUILD_MACHINE = sizeof(void*) == 8 ? MACHINE_AMD64 : MACHINE_I386;

// The files a DLL staged in "Update\" of its folder, checked as `check` checks the DLL of a
// game folder: its machine, its exports, and the paths once installed under `gameName`.
void CheckStagedUpdate(const std::string& arcadeFolder, const std::string& shownFolder, const std::string& gameName,
                       uint16_t machine, Report& report);

// A copy of a folder with everything below it; false when a file could not be copied.
bool CopyFolderTree(const std::string& from, const std::string& to);

// The folder a path lies in, without a trailing separator ("." for a bare name).
std::string ContainingFolder(const std::string& path);
