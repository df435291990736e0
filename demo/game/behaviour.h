#pragma once

// What a test asks of the demo game, read from MORVESSA_DEMO_GAME ("key=value;key=value").
struct DemoBehaviour {
    unsigned windows = 1;
    unsigned laterWindowsMs = 0;
    bool threadWindow = false;
    bool activate = true;
    bool exitAfter = false;
    unsigned exitAfterMs = 0;
    unsigned exitCode = 0;
    bool ignoreClose = false;
    bool ignoreSysCommand = false;
    bool ignoreQuit = false;
    bool ignoreDestroy = false;
    bool hang = false;
};

// A null or empty text gives the normal game; unknown keys and malformed numbers are ignored.
DemoBehaviour parseDemoBehaviour(const char* text);
