#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "arcade/ma_module_state.h"
#include "arcade_folder.h"
#include "process_driver.h"

namespace {

const uint32_t kWidth = 720;
const uint32_t kHeight = 540;
const uint32_t kStride = kWidth * 3;

struct Session {
    ArcadeFolder arcade;
    std::vector<uint8_t> frame = std::vector<uint8_t>(kStride * kHeight);

    // backupDll: what "Backup\" holds; the update the DLL stages comes from updateDll.
    void Start(const std::string& settings, const std::string& backupDll = ArcadeFolder::BuiltDll())
    {
        arcade.Install(ArcadeFolder::BuiltDll());
        arcade.Install(backupDll, "Backup\\MorvessaArcade.dll");
        arcade.Settings(settings);
        ASSERT_EQ(MA_Initialize(1234, "Session Test", 42, 0), 0);
    }
    void Draw(uint16_t repaint = 1) { MA_DrawNextFrameIntoBuffer(frame.data(), kStride, 3, repaint); }

    // The journal's calls of these exports, in order, by name only.
    std::vector<std::string> Sequence(const std::vector<std::string>& exports) const
    {
        std::vector<std::string> names;
        for (const std::string& line : arcade.Calls()) {
            const std::string name = line.substr(0, line.find(' '));
            for (const std::string& wanted : exports)
                if (name == wanted)
                    names.push_back(name);
        }
        return names;
    }
    std::vector<std::string> FrameFlags() const
    {
        std::vector<std::string> flags;
        for (const std::string& line : arcade.Calls("madll_DrawNextFrameIntoBuffer"))
            flags.push_back(line.substr(line.find("rolledBack=")));
        return flags;
    }
};

}  // namespace

TEST(ArcadeSession, AnUpdateIsAppliedBetweenTwoFramesAndTheSessionGoesOn)
{
    Session session;
    session.Start("update_after_frames=1\r\nupdate_source=" + ArcadeFolder::BuiltDll("version2"));
    uint8_t palette[MADLL_PALETTE_BYTES] = {9, 8, 7};
    MA_SetPalette(palette);
    ASSERT_EQ(MA_EnterMenuSession(1, kWidth, kHeight), 0);
    session.Draw(0);
    ASSERT_EQ(MA_GetNumberOfRectsToUpdate(), 1);
    const RECT whole = MA_GetUpdateRect(0);
    EXPECT_EQ(whole.right - whole.left, 720);
    EXPECT_EQ(whole.bottom - whole.top, 540);
    ASSERT_TRUE(ArcadeModuleState::Instance().updatePending);
    EXPECT_TRUE(session.arcade.Exists("Update\\Arcade.mvx"));

    // While it waits, the DLL is not asked for messages or completion; rectangles still are.
    session.arcade.ClearJournal();
    EXPECT_FALSE(MA_HandleWindowsMessage(nullptr, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100)));
    EXPECT_FALSE(MA_IsTheMenuSessionComplete());
    MA_GetNumberOfRectsToUpdate();
    EXPECT_EQ(session.Sequence({"madll_HandleWindowsMessage", "madll_IsTheMenuSessionComplete",
                                "madll_GetNumberOfRectsToUpdate"}),
              std::vector<std::string>{"madll_GetNumberOfRectsToUpdate"});

    session.arcade.ClearJournal();
    session.Draw();

    EXPECT_EQ(LoadedDllVersion(), 2);
    EXPECT_FALSE(ArcadeModuleState::Instance().updateRolledBack);
    EXPECT_EQ(session.Sequence({"madll_ShutDown", "madll_Initialize", "madll_SetPalette", "madll_EnterMenuSession",
                                "madll_DrawNextFrameIntoBuffer"}),
              (std::vector<std::string>{"madll_ShutDown", "madll_Initialize", "madll_SetPalette",
                                        "madll_EnterMenuSession", "madll_DrawNextFrameIntoBuffer"}));
    const std::vector<std::string> entered = session.arcade.Calls("madll_EnterMenuSession");
    ASSERT_EQ(entered.size(), 1u);
    EXPECT_EQ(entered[0].substr(0, std::string("madll_EnterMenuSession 1 720 540").size()),
              "madll_EnterMenuSession 1 720 540");
    for (const char* marker : {"Arcade.mvx", "Application.mvx", "Channel.mvx"}) {
        EXPECT_FALSE(session.arcade.Exists(std::string("Update\\") + marker)) << marker;
        EXPECT_FALSE(session.arcade.Exists(marker)) << marker << " must be deleted, not moved";
    }
    MA_ShutDown();
}

TEST(ArcadeSession, RollbackFlagsReachTheDllOnceThenUntilItAsksAgain)
{
    Session session;
    session.Start("update_after_frames=2\r\nupdate_source=" + ArcadeFolder::BuiltDll("without-madll_Initialize"));
    ASSERT_EQ(MA_EnterMenuSession(1, kWidth, kHeight), 0);
    session.Draw(0);
    session.Draw();
    ASSERT_TRUE(ArcadeModuleState::Instance().updatePending);
    session.arcade.ClearJournal();

    session.Draw();  // the broken update is undone from the backup, then this frame is drawn
    EXPECT_EQ(LoadedDllVersion(), 1);
    session.Draw();  // the restored DLL asks for an update again after it
    ASSERT_TRUE(ArcadeModuleState::Instance().updatePending);
    session.arcade.Install(ArcadeFolder::BuiltDll("version2"), "Update\\MorvessaArcade.dll");
    session.Draw();

    EXPECT_EQ(LoadedDllVersion(), 2);
    const std::vector<std::string> flags = session.FrameFlags();
    ASSERT_EQ(flags.size(), 3u);
    EXPECT_EQ(flags[0], "rolledBack=1 notice=1");
    EXPECT_EQ(flags[1], "rolledBack=1 notice=0");
    EXPECT_EQ(flags[2], "rolledBack=0 notice=0");
    MA_ShutDown();
}

TEST(ArcadeSession, AnUpdateBeyondRepairMakesTheLayerUnrecoverable)
{
    Session session;
    session.Start("update_after_frames=1\r\nupdate_source=" + ArcadeFolder::BuiltDll("without-madll_Initialize"),
                  ArcadeFolder::BuiltDll("without-madll_Initialize"));
    ASSERT_EQ(MA_EnterMenuSession(1, kWidth, kHeight), 0);
    session.Draw(0);
    BoxAnswerer answerer("Application Error", IDOK);

    session.Draw();
    ASSERT_TRUE(ArcadeModuleState::Instance().unrecoverable);
    EXPECT_EQ(answerer.Texts().size(), 1u);

    const RECT pixel = MA_GetUpdateRect(5);
    EXPECT_EQ(pixel.left, 0);
    EXPECT_EQ(pixel.top, 0);
    EXPECT_EQ(pixel.right, 1);
    EXPECT_EQ(pixel.bottom, 1);
    EXPECT_EQ(MA_GetNumberOfRectsToUpdate(), 0);
    EXPECT_TRUE(MA_IsTheMenuSessionComplete());
    EXPECT_FALSE(MA_HandleWindowsMessage(nullptr, WM_KEYDOWN, VK_ESCAPE, 0));
    session.Draw();
    MA_SetPalette(session.frame.data());
    EXPECT_FALSE(ArcadeModuleState::Instance().paletteStored);
    EXPECT_EQ(MA_EnterMenuSession(1, 720, 540), 0);
    MA_ShutDown();

    const std::vector<std::string> boxes = answerer.Texts();
    ASSERT_EQ(boxes.size(), 2u) << "once for the failure, once for the refused session";
    EXPECT_EQ(boxes[0],
              "This application appears to be become corrupted and must be reinstalled. If you have already purchased "
              "this application then you will still have the full version after the reinstallation.");
}
