#include <gtest/gtest.h>

#include <windows.h>

#include "shell/screen_controller.h"

// The byte order shows in the pixels of the end-to-end tests; here GDI's own pixels show where
// the rows start, and that a width the shell never has is padded to whole pixels of four bytes.
TEST(FrameBuffer, RowsArePaddedToWholePixelsOfFourBytes)
{
    ScreenController controller;
    controller.clientHeight = 540;
    for (const int width : {720, 721}) {
        controller.clientWidth = width;
        controller.CreateFrameBuffer();
        ASSERT_NE(controller.frameBits, nullptr);
        const uint32_t stride = width == 720 ? 2160u : 2172u;
        EXPECT_EQ(controller.frameStride, stride);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(dc, controller.frameBitmap);
        SetPixel(dc, 10, 0, RGB(1, 2, 3));
        SetPixel(dc, 0, 1, RGB(4, 5, 6));
        GdiFlush();
        const uint8_t* bits = controller.frameBits;
        EXPECT_EQ(bits[30], 3) << width;
        EXPECT_EQ(bits[31], 2) << width;
        EXPECT_EQ(bits[32], 1) << width;
        EXPECT_EQ(bits[stride], 6) << width;
        // The last pixel of the widened buffer is GDI's too.
        controller.frameBits[stride * 540 - 1] = 7;
        EXPECT_EQ(GetPixel(dc, static_cast<int>(stride / 3) - 1, 539), RGB(7, 0, 0)) << width;
        SelectObject(dc, previous);
        DeleteDC(dc);
    }
    DeleteObject(controller.frameBitmap);
}
