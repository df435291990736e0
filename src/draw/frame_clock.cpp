#include "draw/frame_clock.h"

bool AdvanceFrameClock(uint32_t now, uint32_t& lastTickTime, int32_t& tickBacklog)
{
    const uint32_t previous = lastTickTime;
    lastTickTime = now;
    if (previous == 0)
        return false;
    // Unsigned difference: the wrap of the millisecond counter costs nothing.
    const int64_t backlog = static_cast<int64_t>(tickBacklog) + static_cast<int64_t>(now - previous);
    tickBacklog = backlog > INT32_MAX ? INT32_MAX : static_cast<int32_t>(backlog);
    if (tickBacklog < FRAME_STEP_MS)
        return false;
    tickBacklog -= FRAME_STEP_MS;
    return true;
}
