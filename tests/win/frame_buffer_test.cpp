#include <gtest/gtest.h>

#include <windows.h>

#include "shell/screen_controller.h"

TEST(FrameBuffer, RowsArePaddedToWholePixelsAndPixelsAreBlueGreenRed)
{
    ScreenController controller;
    controller.clientWidth = 720;
    controller.clientHeight = 540;
    controller.CreateFrameBuffer();
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
    DeleteObject(controller.frameBitmap);
}
