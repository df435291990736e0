#include "arcade/arcade_exports.h"

const char* const ArcadeExportNames[ARCADE_EXPORT_COUNT] = {
    "madll_GetDLLVersionAsString",   "madll_GetDLLVersionAsInt",        "madll_Initialize",
    "madll_ShutDown",                "madll_EnterMenuSession",          "madll_IsTheMenuSessionComplete",
    "madll_DrawNextFrameIntoBuffer", "madll_GetNumberOfRectsToUpdate",  "madll_GetUpdateRect",
    "madll_HandleWindowsMessage",    "madll_SetPalette",                "madll_GetValueAsString",
    "madll_GetValueAsInt",           "madll_GetValueAsFloat",           "madll_IsASystemUpdateRequired",
    "madll_GetLastErrorInformation",
};
