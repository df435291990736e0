#pragma once
// The arcade DLL's exports by name, in the order the shell resolves them; without the
// platform, so that the publisher kit checks a DLL against the very same list.
const int ARCADE_EXPORT_COUNT = 16;
extern const char* const ArcadeExportNames[ARCADE_EXPORT_COUNT];
