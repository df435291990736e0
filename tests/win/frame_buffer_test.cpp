#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "arcade/ma_api.h"
#include "arcade_folder.h"
#include "pixels.h"
#include "shell/screen_controller.h"
#include "shell/wrapper_window.h"

namespace {
// A controller of its own whose wrapper is a plain test window.
struct Presenter {
    TestWindow window{720, 540};
    ScreenController controller;
    Presenter()
    {
        WrapperWindow = window.window;
        controller.clientWidth = 720;
        controller.clientHeight = 540;
        controller.CreateFrameBuffer();
    }
    ~Presenter()
    {
        DeleteObject(controller.frameBitmap);
        WrapperWindow = nullptr;
    }
    void FillFrame(uint8_t value) { std::memset(controller.frameBits, value, controller.frameStride * 540); }
};
}  // namespace

TEST(FrameBuffer, RowsArePaddedToWholePixelsAndPixelsAreBlueGreenRed)
{
    Presenter presenter;
    ScreenController& controller = presenter.controller;
    ASSERT_NE(controller.frameBits, nullptr);
    EXPECT_EQ(controller.frameStride, 2160u);

    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, controller.frameBitmap);
    SetPixel(memory, 10, 0, RGB(1, 2, 3));
    SetPixel(memory, 0, 1, RGB(4, 5, 6));
    GdiFlush();
    SelectObject(memory, previous);
    DeleteDC(memory);
    EXPECT_EQ(controller.frameBits[30], 3);
    EXPECT_EQ(controller.frameBits[31], 2);
    EXPECT_EQ(controller.frameBits[32], 1);
    EXPECT_EQ(controller.frameBits[controller.frameStride], 6);
    EXPECT_EQ(controller.frameBits[controller.frameStride + 2], 4);

    controller.clientWidth = 721;
    controller.CreateFrameBuffer();
    EXPECT_EQ(controller.frameStride, 2172u);
    controller.frameBits[2172 * 540 - 1] = 7;  // the last byte of the widened buffer exists
}

TEST(FrameBuffer, PresentCopiesTheWholeFrameOrOnlyTheReportedRectangles)
{
    Presenter presenter;
    ScreenController& controller = presenter.controller;
    PixelCanvas screen(720, 540);

    presenter.FillFrame(0x40);
    controller.Present();
    presenter.window.Capture(screen);
    for (int y = 0; y < 540; y += 27)
        for (int x = 0; x < 720; x += 36)
            ASSERT_EQ(screen.At(x, y), RGB(0x40, 0x40, 0x40)) << x << "," << y;

    // A real catalogue session: moving from one tile to the next reports exactly those two.
    ArcadeFolder arcade;
    arcade.Install(ArcadeFolder::BuiltDll());
    arcade.Settings("animate=0");
    ASSERT_EQ(MA_Initialize(1, "Present Test", 2, 0), 0);
    ASSERT_EQ(MA_EnterMenuSession(1, 720, 540), 0);
    MA_DrawNextFrameIntoBuffer(controller.frameBits, controller.frameStride, 3, 0);
    MA_HandleWindowsMessage(presenter.window.window, WM_MOUSEMOVE, 0, MAKELPARAM(100, 150));
    MA_DrawNextFrameIntoBuffer(controller.frameBits, controller.frameStride, 3, 1);
    MA_HandleWindowsMessage(presenter.window.window, WM_MOUSEMOVE, 0, MAKELPARAM(300, 150));
    MA_DrawNextFrameIntoBuffer(controller.frameBits, controller.frameStride, 3, 1);
    ASSERT_EQ(MA_GetNumberOfRectsToUpdate(), 2);
    const RECT changed[2] = {MA_GetUpdateRect(0), MA_GetUpdateRect(1)};

    controller.menuSessionActive = true;
    controller.Present();
    presenter.window.Capture(screen);

    PixelCanvas frame(720, 540);
    for (int y = 0; y < 540; ++y)
        std::memcpy(frame.bits + y * frame.stride, controller.frameBits + y * controller.frameStride, 720 * 3);
    int copied = 0;
    for (int y = 0; y < 540; y += 3) {
        for (int x = 0; x < 720; x += 3) {
            const POINT point = {x, y};
            const bool inside = PtInRect(&changed[0], point) || PtInRect(&changed[1], point);
            if (inside) {
                ASSERT_EQ(screen.At(x, y), frame.At(x, y)) << x << "," << y;
                copied += frame.At(x, y) != RGB(0x40, 0x40, 0x40);
            } else {
                ASSERT_EQ(screen.At(x, y), RGB(0x40, 0x40, 0x40)) << x << "," << y << " lies outside both";
            }
        }
    }
    EXPECT_GT(copied, 100) << "the reported areas did change on screen";
    MA_ShutDown();
}
