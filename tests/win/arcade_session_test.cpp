#include <gtest/gtest.h>

#include "arcade/ma_module_state.h"
#include "arcade_folder.h"

namespace {

const uint32_t kStride = 720 * 3;

struct Session {
    ArcadeFolder arcade;
    std::vector<uint8_t> frame = std::vector<uint8_t>(kStride * 540);

    void Start(const std::string& settings)
    {
        arcade.Install(ArcadeFolder::BuiltDll());
        arcade.Install(ArcadeFolder::BuiltDll(), "Backup\\MorvessaArcade.dll");
        arcade.Settings(settings);
        ASSERT_EQ(MA_Initialize(1234, "Session Test", 42, 0), 0);
    }
    void Draw(uint16_t repaint = 1) { MA_DrawNextFrameIntoBuffer(frame.data(), kStride, 3, repaint); }
    static bool Pending() { return ArcadeModuleState::Instance().updatePending; }
};

}  // namespace

TEST(ArcadeSession, AStagedUpdateIsAppliedBetweenTwoFramesAndTheSessionGoesOn)
{
    Session session;
    session.Start("update_after_frames=2\r\nupdate_files=2\r\nupdate_source=" + ArcadeFolder::BuiltDll("version2"));
    uint8_t palette[MADLL_PALETTE_BYTES] = {9, 8, 7};
    MA_SetPalette(palette);
    ASSERT_EQ(MA_EnterMenuSession(1, 640, 480), 0);
    ASSERT_EQ(MA_EnterMenuSession(1, 700, 520), 0);
    session.Draw(0);
    EXPECT_FALSE(session.Pending());
    EXPECT_FALSE(session.arcade.Exists("Update"));
    session.Draw();
    ASSERT_TRUE(session.Pending()) << "the DLL asks after its second frame";
    for (const char* name : {"MorvessaArcade.dll", "Data2.txt", "Arcade.mvx", "Application.mvx", "Channel.mvx"})
        EXPECT_TRUE(session.arcade.Exists(std::string("Update\\") + name)) << name;
    EXPECT_FALSE(session.arcade.Exists("Update\\Data3.txt"));

    // While it waits, the DLL is not asked for messages or completion; rectangles still are.
    session.arcade.ClearJournal();
    EXPECT_FALSE(MA_HandleWindowsMessage(nullptr, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100)));
    EXPECT_FALSE(MA_IsTheMenuSessionComplete());
    MA_GetNumberOfRectsToUpdate();
    ASSERT_EQ(session.arcade.Calls().size(), 1u);
    EXPECT_EQ(session.arcade.Calls("madll_GetNumberOfRectsToUpdate").size(), 1u);

    // Entered again with the latest size and the stored palette before the new DLL's first frame.
    session.arcade.ClearJournal();
    session.Draw();
    EXPECT_EQ(
        session.arcade.Calls(),
        (std::vector<std::string>{"madll_ShutDown", "madll_GetDLLVersionAsString -> \"2.0\"",
                                  "madll_GetDLLVersionAsInt -> 2", "madll_Initialize 1234 \"Session Test\" 42 0 6 -> 0",
                                  "madll_SetPalette first=9,8,7", "madll_EnterMenuSession 1 700 520 -> 0",
                                  "madll_DrawNextFrameIntoBuffer stride=2160 bpp=3 repaint=1 rolledBack=0 notice=0",
                                  "madll_IsASystemUpdateRequired -> 0"}));
    for (const char* marker : {"Arcade.mvx", "Application.mvx", "Channel.mvx"}) {
        EXPECT_FALSE(session.arcade.Exists(std::string("Update\\") + marker)) << marker;
        EXPECT_FALSE(session.arcade.Exists(marker)) << marker << " must be deleted, not moved";
    }
    EXPECT_TRUE(session.arcade.Exists("Data2.txt"));
    session.Draw();
    session.Draw();
    EXPECT_FALSE(session.Pending()) << "the DLL that came from the update has nothing left to ask for";
    MA_ShutDown();
}

TEST(ArcadeSession, RollbackFlagsReachTheDllOnceThenUntilItAsksAgain)
{
    Session session;
    session.Start("update_after_frames=2\r\nupdate_source=" + ArcadeFolder::BuiltDll("without-madll_Initialize"));
    ASSERT_EQ(MA_EnterMenuSession(1, 720, 540), 0);
    session.Draw(0);
    session.Draw();
    ASSERT_TRUE(session.Pending());
    session.arcade.ClearJournal();

    session.Draw();  // the broken update is undone from the backup, then this frame is drawn
    EXPECT_EQ(LoadedDllVersion(), 1);
    session.Draw();  // the restored DLL asks for an update again after it
    ASSERT_TRUE(session.Pending());
    session.arcade.Install(ArcadeFolder::BuiltDll("version2"), "Update\\MorvessaArcade.dll");
    session.Draw();

    EXPECT_EQ(LoadedDllVersion(), 2);
    const std::string frame = "madll_DrawNextFrameIntoBuffer stride=2160 bpp=3 repaint=1 ";
    EXPECT_EQ(session.arcade.Calls("madll_DrawNextFrameIntoBuffer"),
              (std::vector<std::string>{frame + "rolledBack=1 notice=1", frame + "rolledBack=1 notice=0",
                                        frame + "rolledBack=0 notice=0"}));
    MA_ShutDown();
}

TEST(ArcadeSession, AnUpdateBeyondRepairMakesTheLayerUnrecoverable)
{
    ArcadeFolder arcade;
    const std::string broken = ArcadeFolder::BuiltDll("without-madll_Initialize");
    arcade.Install(ArcadeFolder::BuiltDll());
    arcade.Install(broken, "Backup\\MorvessaArcade.dll");
    arcade.Settings("update_after_frames=1\r\nupdate_source=" + broken);
    ChildRun probe;
    ASSERT_TRUE(probe.Start(ProgramFolder() + "arcade_probe.exe", "beyond-repair"));
    for (const char* when : {"the failure", "the refused session"}) {
        HWND box = probe.WaitMessageBox("Application Error");
        ASSERT_NE(box, nullptr) << when;
        EXPECT_EQ(MessageBoxText(box),
                  "This application appears to be become corrupted and must be reinstalled. If you have already "
                  "purchased this application then you will still have the full version after the reinstallation.");
        PressButton(box, IDOK);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    }
    EXPECT_EQ(probe.WaitExit(10000), 0u) << "10: no session; 11: the layer still touched the DLL";
}
