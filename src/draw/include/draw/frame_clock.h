#pragma once
#include <cstdint>

// One frame of work every 20 ms of wall time.
const int32_t FRAME_STEP_MS = 20;

// Feeds the clock one millisecond reading. Returns whether this call is due: each due call
// consumes one 20 ms step of the accumulated time, however much has piled up, so that
// everything counted in ticks runs on wall time even after a long pause. A previous
// reading of 0 means the clock has not started, so this call only starts it.
bool AdvanceFrameClock(uint32_t now, uint32_t& lastTickTime, int32_t& tickBacklog);
