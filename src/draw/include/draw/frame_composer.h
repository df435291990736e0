#pragma once
#include <windows.h>

#include <cstdint>

#include "base/byte_buffer.h"

// Keeps a frame that would look exactly like the last one from being drawn again, and from
// needing any device context at all. Between Begin and Finish, the kit's drawing operations on
// the handle Begin returns (DrawBackground, DrawTextAt, DrawSeparator, Button::Draw,
// SetTextColour, SetTransparentText) note what they would draw instead of drawing; text is
// measured in a memory DC made only when a text has to be laid out. Finish says whether the
// frame differs from what the buffer holds; DrawComposed then draws it whole.
struct FrameComposer {
    enum Op : uint8_t { OP_BACKGROUND, OP_TEXT, OP_SEPARATOR, OP_BUTTON, OP_TEXT_COLOUR, OP_TRANSPARENT_TEXT };

    ByteBuffer inBuffer;   // what the buffer holds, as noted when it was drawn
    ByteBuffer composing;  // what this frame draws
    bool bufferKnown = false;
    bool noted = true;     // false when memory ran short for a note
    // The text colour the frame's DC would have by now: a new DC's black at Begin.
    COLORREF textColour = 0;
    HDC measuring = nullptr;
    // Whether the background covers the frame, asked once per picture and size.
    const void* coversPicture = nullptr;
    SIZE coversSize = {0, 0};
    bool covers = false;

    // The handle to draw on while composing; it is no device context.
    HDC Begin();
    // Whether the frame differs from what the buffer holds (or the buffer is not known).
    bool Finish();
    // Draws the frame just composed into a new DC of the buffer; the buffer then holds it.
    void DrawComposed(HDC frameDC);
    // The buffer was written by someone else, or replaced: the next frame is drawn whole.
    void Forget();
    // A DC to measure text in while composing, made on first use and deleted by Finish.
    HDC MeasuringDC();
    // BackgroundCovers for the picture held now, remembered for that picture and size.
    bool BackgroundCoversFrame(int32_t width, int32_t height);

    void Note(Op op, const int32_t* values, int count, const char* text = nullptr, int length = 0);

private:
    void Draw(const ByteBuffer& ops, HDC target) const;
};

// The composer whose handle dc is, or null when drawing on dc should happen at once.
FrameComposer* ComposerOf(HDC dc);
// The DC to measure text in for a drawing on dc: dc itself, or the composer's measuring DC.
HDC MeasuringDCOf(HDC dc);

// Whether the background picture paints every pixel of a frame that size in dc: an opaque
// bitmap at least as large. Elsewhere each frame is drawn over the last one's pixels.
bool BackgroundCovers(HDC dc, int32_t width, int32_t height);

// The text colour and background mode for the text drawn next; noted while composing.
COLORREF SetTextColour(HDC dc, COLORREF colour);
void SetTransparentText(HDC dc);
