#include "target_game.h"

#include <string>

namespace {

const int kBarHeight = 44;
const int kRadius = 30;

// Selects an object it owns into a DC and, on leaving the scope, selects the old one back and deletes it.
struct OwnedSelection {
    OwnedSelection(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), previous_(SelectObject(dc, object)) {}
    ~OwnedSelection()
    {
        SelectObject(dc_, previous_);
        DeleteObject(object_);
    }
    OwnedSelection(const OwnedSelection&) = delete;
    OwnedSelection& operator=(const OwnedSelection&) = delete;

private:
    HDC dc_;
    HGDIOBJ object_;
    HGDIOBJ previous_;
};

void fill(HDC dc, int left, int top, int right, int bottom, COLORREF color)
{
    RECT rect = {left, top, right, bottom};
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

void disc(HDC dc, int x, int y, int radius, COLORREF color)
{
    OwnedSelection brush(dc, CreateSolidBrush(color));
    OwnedSelection pen(dc, CreatePen(PS_SOLID, 1, color));
    Ellipse(dc, x - radius, y - radius, x + radius + 1, y + radius + 1);
}

void text(HDC dc, int x, int y, int height, UINT align, COLORREF color, const std::string& line)
{
    OwnedSelection font(dc, CreateFontA(-height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                        DEFAULT_PITCH | FF_SWISS, "Arial"));
    SetTextColor(dc, color);
    SetTextAlign(dc, align | TA_TOP);
    TextOutA(dc, x, y, line.c_str(), static_cast<int>(line.size()));
}

}  // namespace

TargetGame::TargetGame() : seed_(20240611u)
{
    placeTarget();
}

void TargetGame::placeTarget()
{
    seed_ = seed_ * 1103515245u + 12345u;
    unsigned a = (seed_ >> 8) & 0xFFFF;
    seed_ = seed_ * 1103515245u + 12345u;
    unsigned b = (seed_ >> 8) & 0xFFFF;
    targetX_ = kRadius + 10 + static_cast<int>(a % (kWidth - 2 * kRadius - 20));
    targetY_ = kBarHeight + kRadius + 10 + static_cast<int>(b % (kHeight - kBarHeight - 2 * kRadius - 20));
}

bool TargetGame::click(int x, int y)
{
    int dx = x - targetX_;
    int dy = y - targetY_;
    if (dx * dx + dy * dy > kRadius * kRadius) {
        ++misses_;
        return false;
    }
    ++score_;
    placeTarget();
    return true;
}

void TargetGame::expire()
{
    ++misses_;
    placeTarget();
}

void TargetGame::paint(HDC dc) const
{
    fill(dc, 0, 0, kWidth, kBarHeight, RGB(20, 24, 48));
    fill(dc, 0, kBarHeight, kWidth, kHeight, RGB(34, 92, 60));
    for (int x = 40; x < kWidth; x += 80)
        fill(dc, x, kBarHeight, x + 1, kHeight, RGB(44, 108, 72));
    for (int y = kBarHeight + 40; y < kHeight; y += 80)
        fill(dc, 0, y, kWidth, y + 1, RGB(44, 108, 72));

    disc(dc, targetX_ + 3, targetY_ + 4, kRadius, RGB(24, 64, 42));
    disc(dc, targetX_, targetY_, kRadius, RGB(210, 30, 30));
    disc(dc, targetX_, targetY_, kRadius * 2 / 3, RGB(250, 250, 250));
    disc(dc, targetX_, targetY_, kRadius / 3, RGB(210, 30, 30));

    SetBkMode(dc, TRANSPARENT);
    text(dc, 14, 10, 22, TA_LEFT, RGB(255, 220, 90), "Score: " + std::to_string(score_));
    text(dc, kWidth - 14, 10, 22, TA_RIGHT, RGB(200, 200, 220), "Missed: " + std::to_string(misses_));
    text(dc, kWidth / 2, 14, 15, TA_CENTER, RGB(160, 170, 200), "Click the targets - Esc quits");
}
