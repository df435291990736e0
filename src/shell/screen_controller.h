#pragma once

// Stand-in until the screens land: hides the wrapper while the game runs and shows it
// again when the game has ended.
struct ScreenController {
    bool quitRequested = false;

    static ScreenController& Instance();

    void Initialize();
    void Tick();
    void Shutdown();
};
