#pragma once

// The closing screen's countdown: 20 seconds, less 0.02 per due tick in single precision.
const float CLOSE_COUNTDOWN_SECONDS = 20.0f;
const float CLOSE_COUNTDOWN_STEP = 0.02f;

// One due tick off the countdown. Returns true once it has run out; it then stays at 0.0.
// From 20.0 that happens on the 1000th step.
bool StepCloseCountdown(float& countdown);
