// Stand-in for the arcade layer until the DLL loader lands: start-up succeeds, shutdown does nothing.
#include "arcade/ma_api.h"

ArcadeResult MA_Initialize(uint32_t, const char*, uint32_t, uint16_t)
{
    return 0;
}

void MA_ShutDown()
{
}
