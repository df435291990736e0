#pragma once
// The shell's road to the arcade DLL: load and link, menu sessions, self-updates, errors.
#include <windows.h>

#include <cstdint>

// 0 is success.
typedef uint16_t ArcadeResult;

const ArcadeResult MA_RESULT_DLL_NOT_LOADED = 3;
const ArcadeResult MA_RESULT_EXPORT_MISSING = 5;
const uint32_t MAX_APPLICATION_NAME_LENGTH = 1024;

ArcadeResult MA_Initialize(uint32_t applicationId, const char* pApplicationName, uint32_t developerChannelId,
                           uint16_t options);
void MA_ShutDown();
const char* MA_GetLastErrorInformation();

uint16_t MA_EnterMenuSession(uint16_t mode, uint32_t width, uint32_t height);
bool MA_IsTheMenuSessionComplete();
void MA_DrawNextFrameIntoBuffer(uint8_t* pixels, uint32_t stride, uint16_t bytesPerPixel, uint16_t repaint);
int32_t MA_GetNumberOfRectsToUpdate();
RECT MA_GetUpdateRect(int32_t index);
bool MA_HandleWindowsMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void MA_SetPalette(const uint8_t* palette);
