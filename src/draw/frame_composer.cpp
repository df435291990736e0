#include "draw/frame_composer.h"

#include <olectl.h>

#include <cstring>

#include "draw/background_picture.h"
#include "draw/button.h"
#include "draw/text.h"

static FrameComposer* activeComposer = nullptr;

// The handle of the frame being composed: the composer's address, which no DC can have.
static HDC ComposingHandle(FrameComposer* composer)
{
    return reinterpret_cast<HDC>(composer);
}

FrameComposer* ComposerOf(HDC dc)
{
    return activeComposer != nullptr && dc != nullptr && ComposingHandle(activeComposer) == dc ? activeComposer : nullptr;
}

HDC MeasuringDCOf(HDC dc)
{
    FrameComposer* composer = ComposerOf(dc);
    return composer != nullptr ? composer->MeasuringDC() : dc;
}

HDC FrameComposer::Begin()
{
    activeComposer = this;
    composing.size = 0;
    noted = true;
    textColour = RGB(0, 0, 0);
    return ComposingHandle(this);
}

bool FrameComposer::Finish()
{
    activeComposer = nullptr;
    if (measuring != nullptr) {
        DeleteDC(measuring);
        measuring = nullptr;
    }
    if (!noted) {
        // Without the whole frame noted there is nothing to draw it from: the buffer keeps the
        // last frame, and the next one is drawn whole.
        bufferKnown = false;
        return false;
    }
    return !bufferKnown || !composing.Equals(inBuffer);
}

void FrameComposer::DrawComposed(HDC frameDC)
{
    Draw(composing, frameDC);
    inBuffer.Swap(composing);
    bufferKnown = true;
}

void FrameComposer::Forget()
{
    bufferKnown = false;
}

HDC FrameComposer::MeasuringDC()
{
    if (measuring == nullptr)
        measuring = CreateCompatibleDC(nullptr);
    return measuring;
}

bool FrameComposer::BackgroundCoversFrame(int32_t width, int32_t height)
{
    const void* picture = TheBackground.picture;
    if (picture != coversPicture || width != coversSize.cx || height != coversSize.cy) {
        covers = BackgroundCovers(MeasuringDC(), width, height);
        coversPicture = picture;
        coversSize.cx = width;
        coversSize.cy = height;
    }
    return covers;
}

void FrameComposer::Note(Op op, const int32_t* values, int count, const char* text, int length)
{
    const uint8_t code = op;
    noted = noted && composing.Append(&code, 1) &&
            composing.Append(values, static_cast<uint32_t>(count) * sizeof(int32_t));
    if (text != nullptr)
        noted = noted && composing.Append(&length, sizeof(length)) && composing.Append(text, static_cast<uint32_t>(length));
}

namespace {

struct OpReader {
    const ByteBuffer& ops;
    uint32_t at;

    int32_t Value()
    {
        int32_t value = 0;
        std::memcpy(&value, ops.data + at, sizeof(value));
        at += sizeof(value);
        return value;
    }
    const char* Text(int* length)
    {
        *length = Value();
        const char* text = ops.data + at;
        at += static_cast<uint32_t>(*length);
        return text;
    }
};

}  // namespace

void FrameComposer::Draw(const ByteBuffer& ops, HDC target) const
{
    OpReader read = {ops, 0};
    while (read.at < ops.size) {
        const Op op = static_cast<Op>(ops.data[read.at++]);
        int length = 0;
        switch (op) {
        case OP_BACKGROUND:
            read.Value();
            read.Value();
            DrawBackground(target);
            break;
        case OP_TEXT: {
            const int x = read.Value(), y = read.Value(), points = read.Value();
            const char* text = read.Text(&length);
            DrawTextAt(target, x, y, text, length, points);
            break;
        }
        case OP_SEPARATOR: {
            const int x = read.Value(), y = read.Value(), width = read.Value();
            DrawSeparator(target, x, y, width);
            break;
        }
        case OP_BUTTON: {
            RECT rect;
            rect.left = read.Value();
            rect.top = read.Value();
            rect.right = read.Value();
            rect.bottom = read.Value();
            const bool hovered = read.Value() != 0;
            const char* label = read.Text(&length);
            DrawButtonFace(target, rect, hovered, label, length);
            break;
        }
        case OP_TEXT_COLOUR:
            SetTextColor(target, static_cast<COLORREF>(read.Value()));
            break;
        case OP_TRANSPARENT_TEXT:
            SetBkMode(target, TRANSPARENT);
            break;
        }
    }
}

bool BackgroundCovers(HDC dc, int32_t width, int32_t height)
{
    IPicture* picture = TheBackground.picture;
    SHORT type = PICTYPE_NONE;
    DWORD attributes = 0;
    if (picture == nullptr || FAILED(picture->get_Type(&type)) || FAILED(picture->get_Attributes(&attributes)))
        return false;
    const SIZE size = TheBackground.GetSizeInPixels(dc);
    return type == PICTYPE_BITMAP && (attributes & PICTURE_TRANSPARENT) == 0 && size.cx >= width && size.cy >= height;
}

COLORREF SetTextColour(HDC dc, COLORREF colour)
{
    FrameComposer* composer = ComposerOf(dc);
    if (composer == nullptr)
        return SetTextColor(dc, colour);
    const int32_t value = static_cast<int32_t>(colour);
    composer->Note(FrameComposer::OP_TEXT_COLOUR, &value, 1);
    const COLORREF previous = composer->textColour;
    composer->textColour = colour;
    return previous;
}

void SetTransparentText(HDC dc)
{
    if (FrameComposer* composer = ComposerOf(dc))
        composer->Note(FrameComposer::OP_TRANSPARENT_TEXT, nullptr, 0);
    else
        SetBkMode(dc, TRANSPARENT);
}
