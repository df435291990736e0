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
    if (frameBitmap != nullptr) {
        DeleteObject(frameBitmap);
        frameBitmap = nullptr;
        frameBits = nullptr;
    }
    frameBitmap = CreateFrameBitmap(WrapperWindow, clientWidth, clientHeight, &frameBits, &frameStride);
    frameComposer.Forget();
}

void ScreenController::Present()
{
    const FrameCopy copy(WrapperWindow, frameBitmap);
    if (menuSessionActive) {
        // The count is asked again before each copy, with or without a frame bitmap: the arcade
        // layer may change its mind, and it sees these calls.
        for (int32_t i = 0; i < MA_GetNumberOfRectsToUpdate(); ++i)
            copy.Copy(MA_GetUpdateRect(i));
    } else {
        copy.Copy(RECT{0, 0, clientWidth, clientHeight});
    }
}
