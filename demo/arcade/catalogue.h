#pragma once
#include <windows.h>

#include "canvas.h"

// The "Other Games" menu, laid out for 720 x 540 and centred in frames of other sizes.
const int LAYOUT_WIDTH = 720;
const int LAYOUT_HEIGHT = 540;
const int TILE_COUNT = 6;
const int ITEM_NONE = -1;
const int ITEM_BACK = TILE_COUNT;
const int MAX_DIRTY = 16;
const DWORD BLINK_MS = 500;

extern const char* const TILE_NAMES[TILE_COUNT];
RECT TileRect(int tile);  // layout coordinates, right and bottom exclusive
extern const RECT TITLE_RECT;
extern const RECT BLINK_RECT;
extern const RECT BANNER_RECT;
extern const RECT SELECTION_RECT;
extern const RECT BACK_RECT;

struct Catalogue {
    bool running = false;
    bool complete = true;
    bool animate = true;
    int width = 0;
    int height = 0;
    int hover = ITEM_NONE;
    int pressed = ITEM_NONE;
    int selected = ITEM_NONE;
    DWORD startTick = 0;

    void Enter(unsigned frameWidth, unsigned frameHeight, bool animated, DWORD now);
    void End();
    // True when the message was used by the menu.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Draw(unsigned char* pixels, unsigned stride, unsigned bytesPerPixel, bool repainted, bool banner, DWORD now);
    int DirtyCount() const { return dirtyCount_; }
    RECT DirtyRect(int index) const;

private:
    // What the frame buffer shows since the latest frame.
    bool drawn_ = false;
    int shownHover_ = ITEM_NONE;
    int shownSelected_ = ITEM_NONE;
    bool shownBlink_ = false;
    bool shownBanner_ = false;
    RECT dirty_[MAX_DIRTY] = {};
    int dirtyCount_ = 0;

    int OriginX() const { return (width - LAYOUT_WIDTH) / 2; }
    int OriginY() const { return (height - LAYOUT_HEIGHT) / 2; }
    int ItemAt(LPARAM lParam) const;
    bool BlinkOn(DWORD now) const;
    void MarkChanged(const Canvas& canvas, const RECT& layout);
    void AddDirty(const RECT& frame);
};

// Pieces of the menu, each painting its whole rectangle.
void DrawBackdrop(Canvas& canvas);
void DrawTile(Canvas& canvas, int tile, bool hovered, bool selected);
void DrawBack(Canvas& canvas, bool hovered);
void DrawSelection(Canvas& canvas, int selected);
void DrawBlink(Canvas& canvas, bool on);
void DrawBanner(Canvas& canvas, bool shown);
