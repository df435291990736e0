// The reference arcade DLL's own promises that the shell's tests build on: the rectangles it
// reports and the lines of its journal.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "arcade/ma_api.h"
#include "arcade_folder.h"

namespace {
const int kWidth = 720;
const int kHeight = 540;
const unsigned kStride = kWidth * 3;

std::vector<RECT> DrawFrame(std::vector<uint8_t>& frame, uint16_t repaint = 1)
{
    MA_DrawNextFrameIntoBuffer(frame.data(), kStride, 3, repaint);
    std::vector<RECT> rects;
    for (int i = 0; i < MA_GetNumberOfRectsToUpdate(); ++i)
        rects.push_back(MA_GetUpdateRect(i));
    return rects;
}

// "left,top,right,bottom" of each rectangle, sorted, joined by spaces.
std::string Describe(const std::vector<RECT>& rects)
{
    std::vector<std::string> texts;
    for (const RECT& r : rects)
        texts.push_back(std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
                        std::to_string(r.bottom));
    std::sort(texts.begin(), texts.end());
    std::string joined;
    for (const std::string& text : texts)
        joined += (joined.empty() ? "" : " ") + text;
    return joined;
}

int ChangedOutside(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after,
                   const std::vector<RECT>& rects)
{
    int changed = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const POINT point = {x, y};
            bool inside = false;
            for (const RECT& rect : rects)
                inside = inside || PtInRect(&rect, point);
            const size_t at = static_cast<size_t>(y) * kStride + static_cast<size_t>(x) * 3;
            changed += !inside && std::memcmp(&before[at], &after[at], 3) != 0;
        }
    }
    return changed;
}
}  // namespace

TEST(ReferenceArcade, ReportsExactlyTheRectanglesItChangesAndJournalsEachCall)
{
    ArcadeFolder arcade;
    arcade.Install(ArcadeFolder::BuiltDll());
    arcade.Settings("animate=0\r\nconsume=0x0014");
    ASSERT_EQ(MA_Initialize(1234, "Sample Game", 42, 0), 0);
    ASSERT_EQ(MA_EnterMenuSession(1, kWidth, kHeight), 0);

    const size_t guard = 64;
    std::vector<uint8_t> frame(kStride * kHeight + guard, 0xCD);
    EXPECT_EQ(Describe(DrawFrame(frame, 0)), "0,0,720,540");
    EXPECT_EQ(std::string(frame.end() - guard, frame.end()), std::string(guard, '\xCD')) << "written past the frame";
    EXPECT_EQ(Describe(DrawFrame(frame)), "") << "nothing changed";

    const struct {
        const char* what;
        UINT message;
        int x, y;
        const char* rects;
    } steps[] = {
        {"hover a tile", WM_MOUSEMOVE, 360, 170, "260,100,460,240"},
        {"hover the tile below", WM_MOUSEMOVE, 360, 330, "260,100,460,240 260,260,460,400"},
        {"click it", WM_LBUTTONUP, 360, 330, "260,260,460,400 40,414,680,442"},
        {"leave it for the gap", WM_MOUSEMOVE, 250, 330, "260,260,460,400"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.message == WM_LBUTTONUP)
            MA_HandleWindowsMessage(nullptr, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(step.x, step.y));
        EXPECT_TRUE(MA_HandleWindowsMessage(nullptr, step.message, 0, MAKELPARAM(step.x, step.y)));
        const std::vector<uint8_t> before = frame;
        const std::vector<RECT> rects = DrawFrame(frame);
        EXPECT_EQ(Describe(rects), step.rects);
        EXPECT_EQ(ChangedOutside(before, frame, rects), 0);
        EXPECT_TRUE(before != frame);
    }

    arcade.ClearJournal();
    EXPECT_TRUE(MA_HandleWindowsMessage(nullptr, 20, 0x1B, 0x10001)) << "consumed as its settings ask";
    MA_HandleWindowsMessage(nullptr, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(380, 480));
    MA_HandleWindowsMessage(nullptr, WM_LBUTTONUP, 0, MAKELPARAM(380, 480));  // Back
    EXPECT_TRUE(MA_IsTheMenuSessionComplete());
    MA_ShutDown();
    EXPECT_EQ(arcade.Calls(), (std::vector<std::string>{
                                  "madll_HandleWindowsMessage msg=0x0014 wparam=0x1B lparam=0x10001 hwnd=0x0 -> 1",
                                  "madll_HandleWindowsMessage msg=0x0201 wparam=0x1 lparam=0x1E0017C hwnd=0x0 -> 1",
                                  "madll_HandleWindowsMessage msg=0x0202 wparam=0x0 lparam=0x1E0017C hwnd=0x0 -> 1",
                                  "madll_IsTheMenuSessionComplete -> 1",
                                  "madll_ShutDown",
                              }));
}
