#include "catalogue.h"

#include <string>

namespace {

const Colour BACKGROUND = {24, 28, 44};
const Colour TITLE_BAND = {44, 64, 120};
const Colour TEXT = {240, 240, 240};
const Colour DIM_TEXT = {190, 200, 220};
const Colour HOVER = {255, 214, 0};
const Colour SELECTED = {255, 255, 255};
const Colour BLINK = {255, 170, 40};
const Colour BANNER = {176, 36, 36};
const Colour BUTTON = {70, 84, 112};
const Colour BUTTON_HOVER = {110, 130, 176};
const Colour TILE_COLOURS[TILE_COUNT] = {{40, 96, 168}, {52, 140, 72}, {150, 70, 160},
                                         {168, 48, 64}, {32, 136, 144}, {176, 112, 32}};

Colour Shade(Colour colour, int percent)
{
    const auto scale = [percent](unsigned char c) {
        const int v = c * percent / 100;
        return static_cast<unsigned char>(v > 255 ? 255 : v);
    };
    return Colour{scale(colour.r), scale(colour.g), scale(colour.b)};
}

void CentredText(Canvas& canvas, const RECT& box, int top, const char* text, int scale, Colour colour)
{
    const int left = box.left + (box.right - box.left - TextWidth(text, scale)) / 2;
    canvas.Text(left, top, text, scale, colour);
}

}  // namespace

void DrawBackdrop(Canvas& canvas)
{
    // Frames wider or taller than the layout get the backdrop everywhere, not just in the middle.
    const RECT whole = MakeRect(-canvas.originX, -canvas.originY, canvas.width - canvas.originX,
                                canvas.height - canvas.originY);
    canvas.Fill(whole, BACKGROUND);
    canvas.Fill(MakeRect(whole.left, TITLE_RECT.top, whole.right, TITLE_RECT.bottom), TITLE_BAND);
    CentredText(canvas, TITLE_RECT, 19, "Other Games", 3, TEXT);
}

void DrawTile(Canvas& canvas, int tile, bool hovered, bool selected)
{
    const RECT box = TileRect(tile);
    const Colour colour = TILE_COLOURS[tile];
    canvas.Fill(box, colour);
    canvas.Border(box, 2, Shade(colour, 60));
    if (selected)
        canvas.Border(box, 6, SELECTED);
    if (hovered)
        canvas.Border(MakeRect(box.left + 6, box.top + 6, box.right - 6, box.bottom - 6), 3, HOVER);
    const RECT picture = MakeRect(box.left + 20, box.top + 16, box.right - 20, box.top + 92);
    canvas.Fill(picture, Shade(colour, 140));
    const int size = 24 + tile * 6;
    const int centreX = (picture.left + picture.right) / 2;
    const int centreY = (picture.top + picture.bottom) / 2;
    canvas.Fill(MakeRect(centreX - size / 2, centreY - size / 4, centreX + size / 2, centreY + size / 4),
                Shade(colour, 70));
    CentredText(canvas, box, box.top + 106, TILE_NAMES[tile], 2, TEXT);
}

void DrawBack(Canvas& canvas, bool hovered)
{
    canvas.Fill(BACK_RECT, hovered ? BUTTON_HOVER : BUTTON);
    canvas.Border(BACK_RECT, 2, hovered ? HOVER : DIM_TEXT);
    CentredText(canvas, BACK_RECT, BACK_RECT.top + 13, "Back", 2, TEXT);
}

void DrawSelection(Canvas& canvas, int selected)
{
    canvas.Fill(SELECTION_RECT, BACKGROUND);
    if (selected < 0 || selected >= TILE_COUNT)
        return;
    const std::string line = std::string("Selected: ") + TILE_NAMES[selected];
    canvas.Text(SELECTION_RECT.left + 8, SELECTION_RECT.top + 7, line.c_str(), 2, DIM_TEXT);
}

void DrawBlink(Canvas& canvas, bool on)
{
    canvas.Fill(BLINK_RECT, on ? BLINK : TITLE_BAND);
}

void DrawBanner(Canvas& canvas, bool shown)
{
    canvas.Fill(BANNER_RECT, shown ? BANNER : BACKGROUND);
    if (shown)
        CentredText(canvas, BANNER_RECT, BANNER_RECT.top + 5, "Update could not be applied", 2, TEXT);
}
