#pragma once
// The arcade layer's one module state, and the internal operations its parts share.
#include <windows.h>

#include <cstdint>

#include "arcade/arcade_exports.h"
#include "arcade/ma_api.h"
#include "arcade/morvessa_arcade.h"

enum ArcadeExport {
    EXPORT_GetDLLVersionAsString,
    EXPORT_GetDLLVersionAsInt,
    EXPORT_Initialize,
    EXPORT_ShutDown,
    EXPORT_EnterMenuSession,
    EXPORT_IsTheMenuSessionComplete,
    EXPORT_DrawNextFrameIntoBuffer,
    EXPORT_GetNumberOfRectsToUpdate,
    EXPORT_GetUpdateRect,
    EXPORT_HandleWindowsMessage,
    EXPORT_SetPalette,
    EXPORT_GetValueAsString,
    EXPORT_GetValueAsInt,
    EXPORT_GetValueAsFloat,
    EXPORT_IsASystemUpdateRequired,
    EXPORT_GetLastErrorInformation,
    EXPORT_COUNT
};

static_assert(EXPORT_COUNT == ARCADE_EXPORT_COUNT, "one name for every export");

typedef void (*ArcadeEntry)(void);

struct ArcadeModuleState {
    bool initialized;
    bool unrecoverable;
    bool updatePending;
    bool updateRolledBack;
    bool rollbackNotice;
    bool paletteStored;
    char arcadeFolder[MAX_PATH];
    uint32_t applicationId;
    char applicationName[MAX_APPLICATION_NAME_LENGTH];
    uint32_t developerChannelId;
    uint16_t initOptions;
    uint32_t menuWidth;
    uint32_t menuHeight;
    uint8_t storedPalette[MADLL_PALETTE_BYTES];
    HMODULE dllModule;
    const char* lastError;
    ArcadeEntry entryPoints[EXPORT_COUNT];
    // Null in the shell. A host that must watch every call into the DLL sets it (shellkit's
    // check, which sees on 32-bit x86 whether an export pops its own arguments): each export,
    // once resolved and before its first call, is replaced by the entry point it returns.
    ArcadeEntry (*linkHook)(ArcadeExport which, ArcadeEntry resolved);

    // All zero at process start; never freed.
    static ArcadeModuleState& Instance();

    // Asserts that the export is linked, then hands it out as its own pointer type.
    template <class Function>
    Function Entry(ArcadeExport which) const
    {
        RequireEntry(which);
        return reinterpret_cast<Function>(entryPoints[which]);
    }
    // Fails with the line of the check in ma_apifunctions.cpp, whichever file asks, so that
    // the file and line the box shows point at the check.
    void RequireEntry(ArcadeExport which) const;
    // Frees the DLL and forgets its entry points, so nothing can call into unloaded code.
    void ReleaseDll();
};

ArcadeResult MA_LoadAndLink(uint32_t applicationId, const char* pApplicationName, uint32_t developerChannelId,
                            uint16_t options);
void MA_CheckInitialized();
void MA_ShowReinstallMessage();

// A consistency check that stays in release builds: it names the source file and the
// expression in a box, then ends the process with code 3 (calling on would crash).
void MA_AssertionFailed(const char* file, int line, const char* expression);

// The system update's file work.
bool MA_ApplySystemUpdate();
bool MoveFolderFiles(const char* destination, const char* source);
void DeleteFolderTree(const char* folder);
bool DeleteFileForced(const char* path);
bool DeleteArcadeFile(const char* name);

// Joins two texts into a MAX_PATH buffer; false (and an empty result) when it does not fit,
// so that an over-long path is refused rather than cut or overflowed.
bool JoinPath(char (&out)[MAX_PATH], const char* first, const char* second);
