#include "shell/countdown.h"

bool StepCloseCountdown(float& countdown)
{
    // Stored as a float after every step, so that the 1000th step is the one that ends it.
    const float left = countdown - CLOSE_COUNTDOWN_STEP;
    countdown = left;
    if (countdown > 0.0f)
        return false;
    countdown = 0.0f;
    return true;
}
