#include <windows.h>

#include "arcade/ma_api.h"
#include "draw/frame_buffer.h"
#include "draw/frame_clock.h"
#include "shell/screen_controller.h"
#include "shell/wrapper_window.h"

bool ScreenController::IsTickDue()
{
    return AdvanceFrameClock(timeGetTime(), lastTickTime, tickBacklog);
}

void ScreenController::CreateFrameBuffer()
{
    if (frameBitmap != nullptr)
        DeleteObject(frameBitmap);
    if (presentationBitmap != nullptr)
        DeleteObject(presentationBitmap);
    frameBits = nullptr;
    presentationBitmap = nullptr;
    presentationBits = nullptr;
    frameBitmap = CreateFrameBitmap(WrapperWindow, clientWidth, clientHeight, &frameBits, &frameStride);
    if (frameBitmap != nullptr)
        presentationBitmap = CreatePresentationBitmap(WrapperWindow, clientWidth, clientHeight, &presentationBits);
    presentationStale = true;
    frameComposer.Forget();
}

bool ScreenController::PresentationCopyReady()
{
    if (presentationBitmap == nullptr || frameBitmap == nullptr)
        return false;
    if (presentationStale) {
        CopyBitmap(frameBitmap, presentationBitmap, clientWidth, clientHeight);
        presentationStale = false;
    }
    return true;
}

void ScreenController::Present()
{
    if (!menuSessionActive && PresentationCopyReady()) {
        ShowPresentationBits(WrapperWindow, presentationBits, clientWidth, clientHeight);
        return;
    }
    const FrameCopy copy(WrapperWindow, frameBitmap);
    if (!menuSessionActive) {
        copy.Copy(RECT{0, 0, clientWidth, clientHeight});
        return;
    }
    // The count is asked again before each copy, with or without a frame bitmap: the arcade
    // layer may change its mind, and it sees these calls.
    for (int32_t i = 0; i < MA_GetNumberOfRectsToUpdate(); ++i)
        copy.Copy(MA_GetUpdateRect(i));
}
