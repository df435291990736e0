#pragma once

// When ok is false: a "FATAL ERROR" box with the message, then the runtime's normal exit
// with status 0, so that the exit handlers of the singletons still run.
void FatalError(bool ok, const char* message);
