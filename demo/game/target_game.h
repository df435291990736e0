#pragma once

#include <windows.h>

// The playable part: a target appears, the player clicks it before it jumps away.
// A fixed seed gives every run the same targets: the first one is centred at (122, 269).
struct TargetGame {
    static const int kWidth = 640;
    static const int kHeight = 480;
    static const UINT kTargetLifeMs = 1500;

    TargetGame();
    // True when the click hit the target.
    bool click(int x, int y);
    void expire();
    void paint(HDC dc) const;

private:
    void placeTarget();

    unsigned seed_;
    int score_ = 0;
    int misses_ = 0;
    int targetX_ = 0;
    int targetY_ = 0;
};
