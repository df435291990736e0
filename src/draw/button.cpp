#include "draw/button.h"

#include <cstring>

#include "draw/gdi_selection.h"
#include "draw/text.h"
#include "draw/frame_composer.h"

static int FloorHalf(int value)
{
    return value >= 0 ? value / 2 : -((1 - value) / 2);
}

Button::Button(int x, int y, const char* label, ActionBase* action)
    : label(label), action(action), rect{x, y, x + BUTTON_WIDTH, y + BUTTON_HEIGHT}, pressed(false), hovered(false)
{
}

void Button::Destroy()
{
    delete action;
    action = nullptr;
    pressed = false;
    hovered = false;
}

bool Button::Contains(int x, int y) const
{
    return rect.left <= x && x < rect.right && rect.top <= y && y < rect.bottom;
}

void Button::Draw(HDC dc) const
{
    DrawButtonFace(dc, rect, hovered, label, static_cast<int>(std::strlen(label)));
}

void DrawButtonFace(HDC dc, const RECT& rect, bool hovered, const char* label, int length)
{
    if (FrameComposer* composer = ComposerOf(dc)) {
        const int32_t values[] = {rect.left, rect.top, rect.right, rect.bottom, hovered ? 1 : 0};
        composer->Note(FrameComposer::OP_BUTTON, values, 5, label, length);
        return;
    }
    {
        GdiSelection brush(dc, CreateSolidBrush(hovered ? RGB(225, 225, 225) : RGB(255, 255, 255)));
        RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, 20, 20);
    }
    uint32_t width = 0;
    uint32_t height = 0;
    MeasureText(dc, label, length, BUTTON_LABEL_POINTS, &width, &height);
    // Halves rounded down, also for a label wider than the button.
    const int x = rect.left + FloorHalf(rect.right - rect.left - static_cast<int>(width));
    const int y = rect.top + FloorHalf(rect.bottom - rect.top - static_cast<int>(height));
    SetBkMode(dc, TRANSPARENT);
    DrawTextAt(dc, x, y, label, length, BUTTON_LABEL_POINTS);
}

void Button::OnMouseMove(int x, int y)
{
    hovered = Contains(x, y);
}

void Button::OnMouseDown(int x, int y)
{
    if (Contains(x, y))
        pressed = true;
}

void Button::OnMouseUp(int x, int y)
{
    // A release outside, or a refused click, leaves pressed set: a later release inside fires.
    if (!pressed || !Contains(x, y))
        return;
    if (!action->CanInvoke())
        return;
    action->Invoke();
    pressed = false;
    hovered = false;
}

void DeleteAt(GrowArray& buttons, uint32_t index)
{
    if (index >= buttons.count)
        return;
    Button* button = static_cast<Button*>(buttons.data[index]);
    if (button != nullptr) {
        button->Destroy();
        delete button;
    }
    buttons.RemoveAt(index);
}

void ButtonList::Draw(HDC dc) const
{
    for (uint32_t i = 0; i < count; ++i)
        At(i)->Draw(dc);
}

// The count is read again each step: a click may rebuild the list.
void ButtonList::HandToEach(void (Button::*handler)(int, int), int x, int y)
{
    for (uint32_t i = 0; i < count; ++i)
        (At(i)->*handler)(x, y);
}

void ButtonList::OnMouseMove(int x, int y)
{
    HandToEach(&Button::OnMouseMove, x, y);
}

void ButtonList::OnMouseDown(int x, int y)
{
    HandToEach(&Button::OnMouseDown, x, y);
}

void ButtonList::OnMouseUp(int x, int y)
{
    HandToEach(&Button::OnMouseUp, x, y);
}
