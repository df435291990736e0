#include <gtest/gtest.h>

#include <windows.h>

#include "shell/screen_controller.h"

// The byte order and the 720-pixel rows show in the pixels of the end-to-end tests; only a width
// the shell never has shows the rows padded to whole pixels of four bytes.
TEST(FrameBuffer, RowsArePaddedToWholePixelsOfFourBytes)
{
    ScreenController controller;
    controller.clientHeight = 540;
    for (const int width : {720, 721}) {
        controller.clientWidth = width;
        controller.CreateFrameBuffer();
        ASSERT_NE(controller.frameBits, nullptr);
        EXPECT_EQ(controller.frameStride, width == 720 ? 2160u : 2172u);
    }
    controller.frameBits[2172 * 540 - 1] = 7;  // the last byte of the widened buffer exists
    DeleteObject(controller.frameBitmap);
}
