#include <windows.h>

#include <cstring>

#include "arcade/ma_module_state.h"

// What the DLL reads and writes of the shell's: a 32-bit DLL is built for 4-byte words and handles.
static_assert(sizeof(RECT) == 16 && sizeof(ArcadeModuleState::storedPalette) == MADLL_PALETTE_BYTES &&
                  MADLL_PALETTE_BYTES == 256 * 3,
              "a RECT of four LONGs, a palette of 256 entries of 3 bytes");
static_assert(sizeof(WPARAM) == sizeof(void*) && sizeof(LPARAM) == sizeof(void*) && sizeof(HWND) == sizeof(void*),
              "4 bytes each in a 32-bit DLL, 8 in a 64-bit one");

uint16_t MA_EnterMenuSession(uint16_t mode, uint32_t width, uint32_t height)
{
    ArcadeModuleState& state = ArcadeModuleState::Instance();
    // Cleared first, so that a refused session reports the DLL's own text.
    state.lastError = nullptr;
    MA_CheckInitialized();
    if (state.unrecoverable) {
        MA_ShowReinstallMessage();
        return 0;
    }
    state.menuWidth = width;
    state.menuHeight = height;
    return state.Entry<madll_EnterMenuSession_t>(EXPORT_EnterMenuSession)(mode, width, height);
}

bool MA_IsTheMenuSessionComplete()
{
    MA_CheckInitialized();
    const ArcadeModuleState& state = ArcadeModuleState::Instance();
    if (state.unrecoverable)
        return true;
    // The session goes on across an update: the next frame call applies it.
    if (state.updatePending)
        return false;
    return state.Entry<madll_IsTheMenuSessionComplete_t>(EXPORT_IsTheMenuSessionComplete)();
}

static bool ApplyPendingUpdate(ArcadeModuleState& state)
{
    state.updatePending = false;
    MA_ShutDown();
    static const char* const kMarkers[] = {"Update\\Arcade.mvx", "Update\\Application.mvx", "Update\\Channel.mvx"};
    for (const char* marker : kMarkers)
        DeleteArcadeFile(marker);
    if (!MA_ApplySystemUpdate()) {
        state.unrecoverable = true;
        MA_ShowReinstallMessage();
        return false;
    }
    if (state.paletteStored)
        MA_SetPalette(state.storedPalette);
    MA_EnterMenuSession(MADLL_MENU_OTHER_GAMES, state.menuWidth, state.menuHeight);
    return true;
}

void MA_DrawNextFrameIntoBuffer(uint8_t* pixels, uint32_t stride, uint16_t bytesPerPixel, uint16_t repaint)
{
    MA_CheckInitialized();
    ArcadeModuleState& state = ArcadeModuleState::Instance();
    if (state.unrecoverable)
        return;
    if (state.updatePending && !ApplyPendingUpdate(state))
        return;
    state.Entry<madll_DrawNextFrameIntoBuffer_t>(EXPORT_DrawNextFrameIntoBuffer)(
        pixels, stride, bytesPerPixel, repaint, state.updateRolledBack, state.rollbackNotice);
    state.rollbackNotice = false;
    if (state.Entry<madll_IsASystemUpdateRequired_t>(EXPORT_IsASystemUpdateRequired)()) {
        state.updateRolledBack = false;
        state.updatePending = true;
    }
}

int32_t MA_GetNumberOfRectsToUpdate()
{
    MA_CheckInitialized();
    const ArcadeModuleState& state = ArcadeModuleState::Instance();
    if (state.unrecoverable)
        return 0;
    return state.Entry<madll_GetNumberOfRectsToUpdate_t>(EXPORT_GetNumberOfRectsToUpdate)();
}

RECT MA_GetUpdateRect(int32_t index)
{
    MA_CheckInitialized();
    const ArcadeModuleState& state = ArcadeModuleState::Instance();
    if (state.unrecoverable) {
        const RECT pixel = {0, 0, 1, 1};
        return pixel;
    }
    return state.Entry<madll_GetUpdateRect_t>(EXPORT_GetUpdateRect)(index);
}

bool MA_HandleWindowsMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MA_CheckInitialized();
    const ArcadeModuleState& state = ArcadeModuleState::Instance();
    if (state.unrecoverable || state.updatePending)
        return false;
    return state.Entry<madll_HandleWindowsMessage_t>(EXPORT_HandleWindowsMessage)(window, message, wParam,
                                                                                            lParam);
}

void MA_SetPalette(const uint8_t* palette)
{
    MA_CheckInitialized();
    ArcadeModuleState& state = ArcadeModuleState::Instance();
    if (state.unrecoverable)
        return;
    // After an update the stored palette itself is handed on: a block copied onto itself is undefined.
    if (palette != state.storedPalette)
        std::memcpy(state.storedPalette, palette, sizeof(state.storedPalette));
    state.paletteStored = true;
    state.Entry<madll_SetPalette_t>(EXPORT_SetPalette)(palette);
}
