#pragma once
#include <windows.h>

#include <cstdint>

#include "base/byte_buffer.h"

// Keeps a frame that would look exactly like the last one from being drawn again. Between
// Begin and Finish, the kit's drawing operations on the DC being composed (DrawBackground,
// DrawTextAt, DrawSeparator, Button::Draw, SetTextColour, SetTransparentText) note what they
// would draw instead of drawing; measuring still happens on the real DC. Finish then draws
// the whole frame, unless the buffer already holds exactly that frame.
struct FrameComposer {
    enum Op : uint8_t { OP_BACKGROUND, OP_TEXT, OP_SEPARATOR, OP_BUTTON, OP_TEXT_COLOUR, OP_TRANSPARENT_TEXT };

    ByteBuffer inBuffer;   // what the buffer holds, as noted when it was drawn
    ByteBuffer composing;  // what this frame draws
    bool bufferKnown = false;
    bool noted = true;     // false when memory ran short for a note
    HDC dc = nullptr;
    COLORREF startColour = 0;
    int startMode = 0;

    void Begin(HDC frameDC);
    // Returns whether the frame was drawn (it differs from what the buffer holds).
    bool Finish();
    // The buffer was written by someone else, or replaced: the next frame is drawn whole.
    void Forget();

    void Note(Op op, const int32_t* values, int count, const char* text = nullptr, int length = 0);

private:
    void Draw(const ByteBuffer& ops, HDC target) const;
};

// The composer that is composing dc, or null when drawing on dc should happen at once.
FrameComposer* ComposerOf(HDC dc);

// The text colour and background mode for the text drawn next; noted while composing.
COLORREF SetTextColour(HDC dc, COLORREF colour);
void SetTransparentText(HDC dc);
