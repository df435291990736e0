#include <gtest/gtest.h>

#include <cstring>

#include "arcade/ma_api.h"
#include "arcade_folder.h"
#include "draw/gdi_selection.h"
#include "shell/screen_controller.h"
#include "shell/wrapper_window.h"

namespace {

// The arcade calls of one session in a shown window whose procedure is the shell's: a tick, a WM_PAINT,
// four ticks (with the update the DLL stages after its third frame), Escape, and two ticks more.
std::vector<std::string> SessionCalls(const std::function<void()>& start, const std::function<void()>& tick,
                                      const std::function<void(HWND)>& paint)
{
    ArcadeFolder arcade;
    arcade.Install(ArcadeFolder::BuiltDll());
    arcade.Install(ArcadeFolder::BuiltDll(), "Backup\\MorvessaArcade.dll");
    arcade.Settings("animate=0\r\nupdate_after_frames=3\r\nupdate_source=" + ArcadeFolder::BuiltDll("version2"));
    EXPECT_EQ(MA_Initialize(1234, "Frames", 42, 0), 0);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WrapperWndProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "FramePresentationTest";
    RegisterClassA(&windowClass);
    WrapperWindow = CreateWindowExA(0, windowClass.lpszClassName, "", WRAPPER_STYLE, 0, 0, 726, 565, nullptr, nullptr,
                                    windowClass.hInstance, nullptr);
    ShowWindow(WrapperWindow, SW_SHOWNOACTIVATE);
    start();
    tick();
    paint(WrapperWindow);
    for (int i = 0; i < 4; ++i)
        tick();
    MA_HandleWindowsMessage(WrapperWindow, WM_KEYDOWN, VK_ESCAPE, 0);
    tick();
    tick();
    // The window goes first: its procedure hands the arcade layer every message while it is up.
    DestroyWindow(WrapperWindow);
    WrapperWindow = nullptr;
    MA_ShutDown();
    // Of the messages, only those given here: the rest is the platform's traffic.
    std::vector<std::string> calls;
    for (const std::string& call : arcade.Calls())
        if (call.compare(0, 26, "madll_HandleWindowsMessage") != 0 || call.find("msg=0x000F ") != std::string::npos ||
            call.find("msg=0x0100 ") != std::string::npos)
            calls.push_back(call.substr(0, call.find(" hwnd=")));
    return calls;
}

}  // namespace

// The arcade layer sees the calls of the old way, in its order, with or without a frame bitmap; the
// tick that ends a session shows the whole frame, pixels outside the reported rectangles too.
TEST(FramePresentation, ArcadeCallsAreTheOldWaysWithAndWithoutAFrameBitmapAndTheWholeFrameShowsAfterASession)
{
    ScreenController& controller = ScreenController::Instance();
    for (const bool withFrameBitmap : {true, false}) {
        std::vector<uint8_t> frame(2160 * 540);
        bool active = false, painted = false;
        const uint32_t stride = withFrameBitmap ? 2160 : 0;  // as the 0-wide client below leaves it
        const auto present = [&] {
            for (int32_t i = 0; active && i < MA_GetNumberOfRectsToUpdate(); ++i)
                MA_GetUpdateRect(i);
        };
        const std::vector<std::string> expected = SessionCalls(
            [&] { active = MA_EnterMenuSession(1, 720, 540) == 0; },
            [&] {
                if (!active)
                    return;
                MA_DrawNextFrameIntoBuffer(withFrameBitmap ? frame.data() : nullptr, stride, 3, painted ? 0 : 1);
                painted = false;
                active = !MA_IsTheMenuSessionComplete();
                present();
            },
            [&](HWND window) {
                if (!MA_HandleWindowsMessage(window, WM_PAINT, 0, 0))
                    present(), painted = true;
            });
        PixelCanvas shown(720, 540), copied(720, 540);
        int sessionEnds = 0;
        const std::vector<std::string> calls = SessionCalls(
            [&] {
                // A client 0 pixels wide makes the DIB section fail for real.
                controller.clientWidth = withFrameBitmap ? 720 : 0;
                controller.clientHeight = 540;
                controller.CreateFrameBuffer();
                controller.clientWidth = 720;
                EXPECT_EQ(controller.frameBitmap != nullptr, withFrameBitmap);
                controller.SetState(&ScreenController::StateClosing);
                controller.lastTickTime = timeGetTime();
                controller.tickBacklog = 20 * 100;  // every tick of the test is due
                controller.Tick();                   // the closing screen shown before the session
                controller.OpenOtherGames();
            },
            [&] {
                // Written beside the arcade layer's own frame and never reported.
                const bool session = withFrameBitmap && controller.menuSessionActive;
                for (uint32_t row = 500; session && row < 510; ++row)
                    std::memset(controller.frameBits + row * controller.frameStride + 3 * 10, 0x5A, 3 * 10);
                controller.Tick();
                if (!session || controller.menuSessionActive)
                    return;
                ++sessionEnds;
                WindowDC window(WrapperWindow);
                BitBlt(shown.dc, 0, 0, 720, 540, window.dc, 0, 0, SRCCOPY);
                MemoryDC memory(window.dc);
                GdiSelection selected(memory.dc, controller.frameBitmap, GdiSelection::Borrowed);
                BitBlt(copied.dc, 0, 0, 720, 540, memory.dc, 0, 0, SRCCOPY);
                GdiFlush();
            },
            [](HWND window) { InvalidateRect(window, nullptr, FALSE), UpdateWindow(window); });
        ASSERT_GT(expected.size(), 30u);
        EXPECT_EQ(calls, expected) << (withFrameBitmap ? "with" : "without") << " a frame bitmap";
        EXPECT_FALSE(controller.menuSessionActive) << "Escape ends the session";
        EXPECT_NE(GetModuleHandleA("comctl32.dll"), nullptr) << "a DLL may rely on the common controls being loaded";
        DeleteObject(controller.frameBitmap);
        controller.frameBitmap = nullptr;
        controller.frameBits = nullptr;
        if (!withFrameBitmap)
            continue;
        ASSERT_EQ(sessionEnds, 1);
        EXPECT_EQ(copied.At(15, 505), RGB(0x5A, 0x5A, 0x5A));
        EXPECT_EQ(shown.Differences(copied), "0");
    }
}

// The byte order shows in the pixels of the end-to-end tests; here GDI's own pixels show where the
// arcade layer's rows start once the buffer is handed to it, that a width the shell never has is
// padded to whole pixels of four bytes, and that what the arcade layer wrote is GDI's once back.
TEST(FrameBuffer, HandedToTheArcadeLayerItsRowsArePaddedToWholePixelsOfFourBytesAndComeBackWhole)
{
    ScreenController controller;
    controller.clientHeight = 540;
    for (const int width : {720, 721}) {
        controller.clientWidth = width;
        controller.CreateFrameBuffer();
        ASSERT_NE(controller.frameBits, nullptr);
        const uint32_t stride = width == 720 ? 2160u : 2172u;
        const int lastX = static_cast<int>(stride / 3) - 1;
        EXPECT_EQ(controller.frameStride, stride);
        MemoryDC memory(nullptr);
        GdiSelection selected(memory.dc, controller.frameBitmap, GdiSelection::Borrowed);
        SetPixel(memory.dc, 10, 0, RGB(1, 2, 3));
        SetPixel(memory.dc, 0, 1, RGB(4, 5, 6));
        SetPixel(memory.dc, lastX, 539, RGB(8, 9, 10));
        GdiFlush();
        controller.HandFrameToArcade(true);
        uint8_t* bits = controller.frameBits;
        EXPECT_EQ(RGB(bits[32], bits[31], bits[30]), RGB(1, 2, 3)) << "blue, green, red from byte 30 of " << width;
        EXPECT_EQ(bits[stride], 6) << width;
        EXPECT_EQ(bits[stride * 540 - 1], 8) << "the last pixel of the widened buffer, " << width;
        bits[30] = 11;
        bits[stride * 540 - 1] = 7;
        controller.HandFrameToArcade(false);
        EXPECT_EQ(GetPixel(memory.dc, 10, 0), RGB(1, 2, 11)) << width;
        EXPECT_EQ(GetPixel(memory.dc, 0, 1), RGB(4, 5, 6)) << width;
        EXPECT_EQ(GetPixel(memory.dc, lastX, 539), RGB(7, 9, 10)) << width;
    }
    DeleteObject(controller.frameBitmap);
}
