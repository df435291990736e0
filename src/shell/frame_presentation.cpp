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
    frameBits = nullptr;
    frameHeldByArcade = false;
    frameBitmap = CreateFrameBitmap(WrapperWindow, clientWidth, clientHeight, &frameBits, &frameStride);
    frameComposer.Forget();
}

void ScreenController::HandFrameToArcade(bool toArcade)
{
    if (frameBits == nullptr || frameHeldByArcade == toArcade)
        return;
    if (toArcade)
        PackFrameForArcade(frameBits, clientWidth, clientHeight, frameStride);
    else
        UnpackFrameFromArcade(frameBits, clientWidth, clientHeight, frameStride);
    frameHeldByArcade = toArcade;
}

void ScreenController::Present()
{
    if (!menuSessionActive && frameBits != nullptr && !frameHeldByArcade) {
        ShowFrame(WrapperWindow, frameBits, clientWidth, clientHeight);
        return;
    }
    const ArcadeFrameCopy copy(WrapperWindow, frameBits, clientWidth, clientHeight, frameStride);
    if (!menuSessionActive) {
        copy.Copy(RECT{0, 0, clientWidth, clientHeight});
        return;
    }
    // The count is asked again before each copy, with or without a frame bitmap: the arcade
    // layer may change its mind, and it sees these calls.
    for (int32_t i = 0; i < MA_GetNumberOfRectsToUpdate(); ++i)
        copy.Copy(MA_GetUpdateRect(i));
}
