#pragma once
#include <string>

#include "arcade_driver.h"

// Drives the DLL in this process and reports into the probe; 0 when it ran to its end.
int RunArcadeChild(const ArcadeRunSettings& settings, const std::string& shown, ArcadeProbe* probe);
