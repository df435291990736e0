#include "catalogue.h"

const char* const TILE_NAMES[TILE_COUNT] = {"Star Harbor", "Puzzle Garden", "Comet Chase",
                                            "Ruby Mines",  "Tidal Tiles",   "Lantern Quest"};

const RECT TITLE_RECT = {0, 0, LAYOUT_WIDTH, 60};
const RECT BLINK_RECT = {676, 22, 692, 38};
const RECT BANNER_RECT = {190, 66, 530, 90};
const RECT SELECTION_RECT = {40, 414, 680, 442};
const RECT BACK_RECT = {300, 462, 420, 502};

RECT TileRect(int tile)
{
    const int left = 40 + (tile % 3) * 220;
    const int top = 100 + (tile / 3) * 160;
    return MakeRect(left, top, left + 200, top + 140);
}

static bool Inside(const RECT& rect, int x, int y)
{
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

void Catalogue::Enter(unsigned frameWidth, unsigned frameHeight, bool animated, DWORD now)
{
    // Anything larger is no frame a window could show; the cap keeps the arithmetic in range.
    const unsigned limit = 1u << 15;
    width = static_cast<int>(frameWidth < limit ? frameWidth : limit);
    height = static_cast<int>(frameHeight < limit ? frameHeight : limit);
    running = true;
    complete = false;
    animate = animated;
    hover = pressed = selected = ITEM_NONE;
    startTick = now;
    drawn_ = false;
    dirtyCount_ = 0;
}

void Catalogue::End()
{
    running = false;
    complete = true;
    pressed = ITEM_NONE;
}

int Catalogue::ItemAt(LPARAM lParam) const
{
    const int x = static_cast<short>(LOWORD(lParam)) - OriginX();
    const int y = static_cast<short>(HIWORD(lParam)) - OriginY();
    for (int tile = 0; tile < TILE_COUNT; ++tile) {
        if (Inside(TileRect(tile), x, y))
            return tile;
    }
    return Inside(BACK_RECT, x, y) ? ITEM_BACK : ITEM_NONE;
}

bool Catalogue::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!running)
        return false;
    switch (message) {
    case WM_MOUSEMOVE:
        hover = ItemAt(lParam);
        return true;
    case WM_LBUTTONDOWN:
        hover = pressed = ItemAt(lParam);
        return true;
    case WM_LBUTTONUP: {
        const int item = ItemAt(lParam);
        hover = item;
        if (item != ITEM_NONE && item == pressed) {
            if (item == ITEM_BACK)
                End();
            else
                selected = item;
        }
        pressed = ITEM_NONE;
        return true;
    }
    case WM_MOUSELEAVE:
        // The shell tracks the pointer leaving too, so it still gets to see this.
        hover = ITEM_NONE;
        return false;
    case WM_KEYDOWN:
        if (wParam != VK_ESCAPE)
            return false;
        End();
        return true;
    default:
        return false;
    }
}

bool Catalogue::BlinkOn(DWORD now) const
{
    return !animate || ((now - startTick) / BLINK_MS) % 2 == 0;
}

void Catalogue::AddDirty(const RECT& frame)
{
    if (frame.right <= frame.left || frame.bottom <= frame.top)
        return;
    for (int i = 0; i < dirtyCount_; ++i) {
        if (EqualRect(&dirty_[i], &frame))
            return;
    }
    if (dirtyCount_ < MAX_DIRTY)
        dirty_[dirtyCount_++] = frame;
}

void Catalogue::MarkChanged(const Canvas& canvas, const RECT& layout)
{
    AddDirty(canvas.ToFrame(layout));
}

void Catalogue::Draw(unsigned char* pixels, unsigned stride, unsigned bytesPerPixel, bool repainted, bool banner,
                     DWORD now)
{
    dirtyCount_ = 0;
    if (!pixels || bytesPerPixel != 3) {
        drawn_ = false;
        return;
    }
    const int fitting = static_cast<int>(stride / 3 < static_cast<unsigned>(width) ? stride / 3 : width);
    Canvas canvas = {pixels, stride, fitting, height, OriginX(), OriginY()};
    const bool blink = BlinkOn(now);
    if (!drawn_ || repainted) {
        DrawBackdrop(canvas);
        for (int tile = 0; tile < TILE_COUNT; ++tile)
            DrawTile(canvas, tile, hover == tile, selected == tile);
        DrawBack(canvas, hover == ITEM_BACK);
        DrawSelection(canvas, selected);
        DrawBlink(canvas, blink);
        DrawBanner(canvas, banner);
        AddDirty(MakeRect(0, 0, fitting, height));
    } else {
        for (int item = 0; item <= ITEM_BACK; ++item) {
            const bool hoverChanged = (item == hover) != (item == shownHover_);
            const bool selectChanged = (item == selected) != (item == shownSelected_);
            if (!hoverChanged && !selectChanged)
                continue;
            if (item == ITEM_BACK) {
                DrawBack(canvas, hover == ITEM_BACK);
                MarkChanged(canvas, BACK_RECT);
            } else {
                DrawTile(canvas, item, hover == item, selected == item);
                MarkChanged(canvas, TileRect(item));
            }
        }
        if (selected != shownSelected_) {
            DrawSelection(canvas, selected);
            MarkChanged(canvas, SELECTION_RECT);
        }
        if (blink != shownBlink_) {
            DrawBlink(canvas, blink);
            MarkChanged(canvas, BLINK_RECT);
        }
        if (banner != shownBanner_) {
            DrawBanner(canvas, banner);
            MarkChanged(canvas, BANNER_RECT);
        }
    }
    drawn_ = true;
    shownHover_ = hover;
    shownSelected_ = selected;
    shownBlink_ = blink;
    shownBanner_ = banner;
}

RECT Catalogue::DirtyRect(int index) const
{
    if (index < 0 || index >= dirtyCount_)
        return MakeRect(0, 0, 0, 0);
    return dirty_[index];
}
