#pragma once
#include <string>

#include "nsis_script.h"

// The installer's sections and the functions they call, and the uninstaller's.
std::string InstallSection(const InstallerPlan& plan);
std::string UninstallSection(const InstallerPlan& plan);
