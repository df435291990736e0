#pragma once
#include <cstdint>

// 0 is success.
typedef uint16_t ArcadeResult;

ArcadeResult MA_Initialize(uint32_t applicationId, const char* pApplicationName, uint32_t developerChannelId,
                           uint16_t options);
void MA_ShutDown();
