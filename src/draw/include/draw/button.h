#pragma once
#include <windows.h>

#include <cstdint>

#include "base/grow_array.h"

// A click callback.
struct ActionBase {
    virtual ~ActionBase() {}
    virtual void Invoke() = 0;
    virtual bool CanInvoke() { return true; }
    virtual bool HasCondition() { return false; }
};

// Binds a member function of one object, with an optional condition asked first.
template <class Target>
struct Action : ActionBase {
    typedef void (Target::*Method)();
    typedef bool (Target::*Condition)();

    Target* target;
    Method method;
    Condition condition;

    Action(Target* target, Method method, Condition condition = nullptr)
        : target(target), method(method), condition(condition)
    {
    }
    void Invoke() override { (target->*method)(); }
    bool CanInvoke() override { return condition == nullptr || (target->*condition)(); }
    bool HasCondition() override { return condition != nullptr; }
};

const int BUTTON_WIDTH = 110;
const int BUTTON_HEIGHT = 32;
const int BUTTON_LABEL_POINTS = 10;

// A 110 x 32 rounded push button that owns its action.
struct Button {
    const char* label;
    ActionBase* action;
    RECT rect;
    bool pressed;
    bool hovered;

    Button(int x, int y, const char* label, ActionBase* action);
    Button(const Button&) = delete;
    Button& operator=(const Button&) = delete;

    void Destroy();
    void Draw(HDC dc) const;
    void OnMouseMove(int x, int y);
    void OnMouseDown(int x, int y);
    void OnMouseUp(int x, int y);
    // The left and top edges belong to the button, the right and bottom ones do not.
    bool Contains(int x, int y) const;
};

// The rounded face, white or hover grey, with the label centred (halves rounded down).
void DrawButtonFace(HDC dc, const RECT& rect, bool hovered, const char* label, int length);

// Destroys and frees the button at the index, then closes the gap.
void DeleteAt(GrowArray& buttons, uint32_t index);

// Owned Button pointers, drawn and hit-tested in list order.
struct ButtonList : GrowArray {
    Button* At(uint32_t index) const { return static_cast<Button*>(data[index]); }
    void Draw(HDC dc) const;
    // Every button sees the event; they do not overlap, so at most one reacts.
    void OnMouseMove(int x, int y);
    void OnMouseDown(int x, int y);
    void OnMouseUp(int x, int y);

private:
    void HandToEach(void (Button::*handler)(int, int), int x, int y);
};
