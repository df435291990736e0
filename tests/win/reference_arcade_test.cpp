// The reference arcade DLL on its own: a copy loaded from a temporary folder, called directly.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "arcade/morvessa_arcade.h"
#include "demo_game_control.h"
#include "temp_folder.h"

namespace {

typedef void (*AnyFunction)(void);

const char* const kExports[] = {
    "madll_GetDLLVersionAsString", "madll_GetDLLVersionAsInt",       "madll_Initialize",
    "madll_ShutDown",              "madll_EnterMenuSession",         "madll_IsTheMenuSessionComplete",
    "madll_DrawNextFrameIntoBuffer", "madll_GetNumberOfRectsToUpdate", "madll_GetUpdateRect",
    "madll_HandleWindowsMessage",  "madll_SetPalette",               "madll_GetValueAsString",
    "madll_GetValueAsInt",         "madll_GetValueAsFloat",          "madll_IsASystemUpdateRequired",
    "madll_GetLastErrorInformation"};

const int kWidth = 720;
const int kHeight = 540;
const unsigned kStride = kWidth * 3;

std::string ReadAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool Contains(const std::vector<RECT>& rects, const RECT& wanted)
{
    for (const RECT& rect : rects)
        if (SameRect(rect, wanted))
            return true;
    return false;
}

// A copy of a built DLL in a folder of its own, loaded for real.
struct LoadedArcade {
    TempFolder folder;
    HMODULE module = nullptr;

    explicit LoadedArcade(const std::string& settings,
                          const std::string& built = ProgramFolder() + "MorvessaArcade.dll")
    {
        folder.Write("ArcadeTest.txt", settings);
        EXPECT_TRUE(CopyFileTo(built, folder.File("MorvessaArcade.dll")));
        Load();
    }
    ~LoadedArcade() { FreeLibrary(module); }

    void Load() { module = LoadLibraryA(folder.File("MorvessaArcade.dll").c_str()); }
    void Reload()
    {
        FreeLibrary(module);
        Load();
    }
    template <typename F>
    F Get(const char* name) const
    {
        return reinterpret_cast<F>(reinterpret_cast<AnyFunction>(GetProcAddress(module, name)));
    }

    unsigned short Initialize(const char* name = "Sample Game") const
    {
        return Get<madll_Initialize_t>("madll_Initialize")(1234, name, 42, 0, MADLL_INTERFACE_LEVEL);
    }
    unsigned short Enter(unsigned short mode, unsigned width = kWidth, unsigned height = kHeight) const
    {
        return Get<madll_EnterMenuSession_t>("madll_EnterMenuSession")(mode, width, height);
    }
    bool Message(UINT message, WPARAM wParam, int x, int y) const
    {
        return Get<madll_HandleWindowsMessage_t>("madll_HandleWindowsMessage")(nullptr, message, wParam,
                                                                                MAKELPARAM(x, y));
    }
    void Click(int x, int y) const
    {
        EXPECT_TRUE(Message(WM_LBUTTONDOWN, MK_LBUTTON, x, y));
        EXPECT_TRUE(Message(WM_LBUTTONUP, 0, x, y));
    }
    bool Complete() const { return Get<madll_IsTheMenuSessionComplete_t>("madll_IsTheMenuSessionComplete")(); }
    std::vector<RECT> Draw(std::vector<unsigned char>& frame, unsigned short repaint = MADLL_FRAME_CONTINUED,
                           bool notice = false, unsigned stride = kStride) const
    {
        Get<madll_DrawNextFrameIntoBuffer_t>("madll_DrawNextFrameIntoBuffer")(frame.data(), stride, 3, repaint,
                                                                              notice, notice);
        std::vector<RECT> rects;
        const int count = Get<madll_GetNumberOfRectsToUpdate_t>("madll_GetNumberOfRectsToUpdate")();
        for (int i = 0; i < count; ++i)
            rects.push_back(Get<madll_GetUpdateRect_t>("madll_GetUpdateRect")(i));
        return rects;
    }
    std::string LastError() const
    {
        return Get<madll_GetLastErrorInformation_t>("madll_GetLastErrorInformation")();
    }
};

// The first pixel that differs between the two frames outside every rectangle, as "x,y"; "" when none.
std::string ChangedOutside(const std::vector<unsigned char>& before, const std::vector<unsigned char>& after,
                           const std::vector<RECT>& rects)
{
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            POINT point = {x, y};
            bool inside = false;
            for (const RECT& rect : rects)
                inside = inside || PtInRect(&rect, point);
            const size_t at = static_cast<size_t>(y) * kStride + static_cast<size_t>(x) * 3;
            if (!inside && std::memcmp(&before[at], &after[at], 3) != 0)
                return std::to_string(x) + "," + std::to_string(y);
        }
    }
    return "";
}

const RECT kTile1 = {260, 100, 460, 240};
const RECT kTile4 = {260, 260, 460, 400};
const RECT kSelection = {40, 414, 680, 442};
const RECT kBanner = {190, 66, 530, 90};
const RECT kBlink = {676, 22, 692, 38};
const RECT kWhole = {0, 0, kWidth, kHeight};

}  // namespace

TEST(ReferenceArcade, JournalsEveryCallAndKeepsItsFiles)
{
    TempFolder scratch;
    const std::string journal = scratch.File("journal.txt");
    LoadedArcade arcade("consume=0x0100, 20\r\njournal=" + journal + "\n");
    const std::string name(1023, 'N');

    EXPECT_STREQ(arcade.Get<madll_GetDLLVersionAsString_t>("madll_GetDLLVersionAsString")(), "1.0");
    EXPECT_EQ(arcade.Get<madll_GetDLLVersionAsInt_t>("madll_GetDLLVersionAsInt")(), 1);
    EXPECT_EQ(arcade.Initialize(name.c_str()), 0);
    EXPECT_EQ(arcade.Enter(3), 2);
    EXPECT_EQ(arcade.LastError(), "Unknown menu mode.");
    EXPECT_TRUE(arcade.Get<madll_HandleWindowsMessage_t>("madll_HandleWindowsMessage")(nullptr, WM_KEYDOWN, 0x1B,
                                                                                        0x10001));
    EXPECT_TRUE(arcade.Message(20, 0, 0, 0));
    EXPECT_FALSE(arcade.Message(WM_LBUTTONDOWN, MK_LBUTTON, 10, 20)) << "no session runs";
    unsigned char palette[MADLL_PALETTE_BYTES] = {9, 8, 7};
    arcade.Get<madll_SetPalette_t>("madll_SetPalette")(palette);
    EXPECT_EQ(arcade.Get<madll_GetValueAsFloat_t>("madll_GetValueAsFloat")("speed"), 0.0f);
    const RECT none = arcade.Get<madll_GetUpdateRect_t>("madll_GetUpdateRect")(0);
    EXPECT_TRUE(SameRect(none, RECT{0, 0, 0, 0}));
    EXPECT_FALSE(arcade.Get<madll_IsASystemUpdateRequired_t>("madll_IsASystemUpdateRequired")());
    EXPECT_EQ(GetFileAttributesA(arcade.folder.File("Arcade").c_str()), INVALID_FILE_ATTRIBUTES)
        << "an update deletes it and initialises the DLL again; it must stay gone until the shut-down";
    arcade.Get<madll_ShutDown_t>("madll_ShutDown")();

    const std::vector<std::string> expected = {
        "madll_GetDLLVersionAsString -> \"1.0\"",
        "madll_GetDLLVersionAsInt -> 1",
        "madll_Initialize 1234 \"" + name + "\" 42 0 6 -> 0",
        "madll_EnterMenuSession 3 720 540 -> 2",
        "madll_GetLastErrorInformation -> \"Unknown menu mode.\"",
        "madll_HandleWindowsMessage msg=0x0100 wparam=0x1B lparam=0x10001 hwnd=0x0 -> 1",
        "madll_HandleWindowsMessage msg=0x0014 wparam=0x0 lparam=0x0 hwnd=0x0 -> 1",
        "madll_HandleWindowsMessage msg=0x0201 wparam=0x1 lparam=0x14000A hwnd=0x0 -> 0",
        "madll_SetPalette first=9,8,7",
        "madll_GetValueAsFloat \"speed\" -> 0.0",
        "madll_GetUpdateRect 0 -> 0 0 0 0",
        "madll_IsASystemUpdateRequired -> 0",
        "madll_ShutDown",
    };
    EXPECT_EQ(Lines(journal), expected);

    const std::string dll = ReadAll(arcade.folder.File("MorvessaArcade.dll"));
    EXPECT_EQ(ReadAll(arcade.folder.File("Backup\\MorvessaArcade.dll")), dll);
    EXPECT_EQ(ReadAll(arcade.folder.File("Application.dat")), "1234\r\n");
    EXPECT_EQ(ReadAll(arcade.folder.File("Channel.dat")), "42\r\n");
    EXPECT_EQ(ReadAll(arcade.folder.File("Arcade\\state.txt")), "sessions=0\r\nframes=0\r\n");

    // The count of initialisations outlives each load, as across the shell's reloads.
    arcade.folder.Write("ArcadeTest.txt", "initialize_fail_on=2\r\ninitialize_result=7\r\n");
    EXPECT_EQ(arcade.Initialize(), 0);
    arcade.Reload();
    EXPECT_EQ(arcade.Initialize(), 7);
    EXPECT_EQ(arcade.LastError(), "Initialization failed.");
    arcade.Reload();
    EXPECT_EQ(arcade.Initialize(), 0);

    arcade.folder.Write("ArcadeTest.txt", "enter_result=9\r\nerror_text=Catalogue offline\r\n");
    EXPECT_EQ(arcade.Initialize(), 0);
    EXPECT_EQ(arcade.Enter(MADLL_MENU_OTHER_GAMES), 9);
    EXPECT_EQ(arcade.LastError(), "Catalogue offline");
}

TEST(ReferenceArcade, SessionReportsOnlyTheRectanglesItChanged)
{
    LoadedArcade arcade("animate=0\r\n");
    ASSERT_EQ(arcade.Initialize(), 0);
    ASSERT_EQ(arcade.Enter(MADLL_MENU_OTHER_GAMES), 0);
    EXPECT_FALSE(arcade.Complete());

    const size_t guard = 64;
    std::vector<unsigned char> frame(kStride * kHeight + guard, 0xCD);
    std::vector<RECT> rects = arcade.Draw(frame, MADLL_FRAME_REPAINTED);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_TRUE(SameRect(rects[0], kWhole));
    EXPECT_EQ(std::string(frame.end() - guard, frame.end()), std::string(guard, '\xCD')) << "written past the frame";
    EXPECT_TRUE(arcade.Draw(frame).empty()) << "nothing changed";

    struct Step {
        const char* what;
        UINT message;
        int x, y;
        std::vector<RECT> expected;
    };
    const Step steps[] = {
        {"hover a tile", WM_MOUSEMOVE, 360, 170, {kTile1}},
        {"hover another tile", WM_MOUSEMOVE, 360, 330, {kTile1, kTile4}},
        {"click it", WM_LBUTTONUP, 360, 330, {kTile4, kSelection}},
        {"leave it for the gap", WM_MOUSEMOVE, 250, 330, {kTile4}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.message == WM_LBUTTONUP)
            arcade.Click(step.x, step.y);
        else
            EXPECT_TRUE(arcade.Message(step.message, 0, step.x, step.y));
        const std::vector<unsigned char> before = frame;
        rects = arcade.Draw(frame);
        ASSERT_EQ(rects.size(), step.expected.size());
        for (const RECT& wanted : step.expected)
            EXPECT_TRUE(Contains(rects, wanted)) << wanted.left << "," << wanted.top;
        EXPECT_EQ(ChangedOutside(before, frame, rects), "");
        EXPECT_TRUE(before != frame);
    }

    const std::vector<unsigned char> selected = frame;
    EXPECT_TRUE(SameRect(arcade.Draw(frame, MADLL_FRAME_REPAINTED)[0], kWhole));
    EXPECT_TRUE(frame == selected) << "a repaint draws the same picture again";
    rects = arcade.Draw(frame, MADLL_FRAME_CONTINUED, true);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_TRUE(SameRect(rects[0], kBanner));
    rects = arcade.Draw(frame);
    ASSERT_EQ(rects.size(), 1u) << "the banner goes again";
    EXPECT_TRUE(frame == selected);

    EXPECT_FALSE(arcade.Message(WM_KEYDOWN, 'A', 0, 0));
    EXPECT_FALSE(arcade.Message(WM_PAINT, 0, 0, 0));
    arcade.Click(380, 480);  // Back
    EXPECT_TRUE(arcade.Complete());
    EXPECT_FALSE(arcade.Message(WM_MOUSEMOVE, 0, 360, 170)) << "the session is over";

    ASSERT_EQ(arcade.Enter(MADLL_MENU_OTHER_GAMES), 0);
    EXPECT_FALSE(arcade.Complete());
    rects = arcade.Draw(frame);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_TRUE(SameRect(rects[0], kWhole)) << "the first frame of a session is whole";
    EXPECT_TRUE(arcade.Message(WM_KEYDOWN, VK_ESCAPE, 0, 0));
    EXPECT_TRUE(arcade.Complete());

    // A frame smaller than the layout, with rows padded: only its own pixels are written.
    const unsigned stride = 100 * 3 + 4;
    std::vector<unsigned char> small(stride * 50, 0xCD);
    ASSERT_EQ(arcade.Enter(MADLL_MENU_OTHER_GAMES, 100, 50), 0);
    rects = arcade.Draw(small, MADLL_FRAME_REPAINTED, false, stride);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_TRUE(SameRect(rects[0], RECT{0, 0, 100, 50}));
    for (int y = 0; y < 50; ++y) {
        const unsigned char* row = small.data() + y * stride;
        EXPECT_EQ(std::string(row + 300, row + stride), std::string(4, '\xCD')) << "row " << y;
        EXPECT_NE(std::string(row, row + 300), std::string(300, '\xCD')) << "row " << y;
    }
}

TEST(ReferenceArcade, TheBlinkingMarkReportsOnlyItsRectangle)
{
    LoadedArcade arcade("");
    ASSERT_EQ(arcade.Initialize(), 0);
    ASSERT_EQ(arcade.Enter(MADLL_MENU_OTHER_GAMES), 0);
    std::vector<unsigned char> frame(kStride * kHeight);
    arcade.Draw(frame, MADLL_FRAME_REPAINTED);
    std::vector<unsigned char> before = frame;
    std::vector<RECT> rects;
    const DWORD start = GetTickCount();
    while (rects.empty() && GetTickCount() - start < 2000) {
        Sleep(20);
        before = frame;
        rects = arcade.Draw(frame);
    }
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_TRUE(SameRect(rects[0], kBlink));
    EXPECT_EQ(ChangedOutside(before, frame, rects), "");
}

TEST(ReferenceArcade, StagesAnUpdateAfterTheConfiguredFrame)
{
    const std::string version2 = ProgramFolder() + "arcade-variants\\version2\\MorvessaArcade.dll";
    LoadedArcade arcade("update_after_frames=3\r\nupdate_files=3\r\nupdate_source=" + version2 + "\r\n");
    const auto required = arcade.Get<madll_IsASystemUpdateRequired_t>("madll_IsASystemUpdateRequired");
    ASSERT_EQ(arcade.Initialize(), 0);
    std::vector<unsigned char> frame(kStride * kHeight);
    arcade.Draw(frame, MADLL_FRAME_REPAINTED);  // outside a session: not counted
    ASSERT_EQ(arcade.Enter(MADLL_MENU_OTHER_GAMES), 0);
    arcade.Draw(frame);
    arcade.Draw(frame);
    EXPECT_FALSE(required());
    EXPECT_EQ(GetFileAttributesA(arcade.folder.File("Update").c_str()), INVALID_FILE_ATTRIBUTES);

    arcade.Draw(frame);
    EXPECT_TRUE(required());
    EXPECT_EQ(ReadAll(arcade.folder.File("Update\\MorvessaArcade.dll")), ReadAll(version2));
    for (const char* name : {"Data1.txt", "Data2.txt", "Data3.txt", "Arcade.mvx", "Application.mvx", "Channel.mvx"})
        EXPECT_NE(GetFileAttributesA(arcade.folder.File(std::string("Update\\") + name).c_str()),
                  INVALID_FILE_ATTRIBUTES)
            << name;
    EXPECT_EQ(GetFileAttributesA(arcade.folder.File("Update\\Data4.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    arcade.Draw(frame);
    EXPECT_TRUE(required()) << "it keeps asking";

    arcade.Get<madll_ShutDown_t>("madll_ShutDown")();
    EXPECT_FALSE(required());

    // Once the update is applied, the DLL that came from the source has nothing left to ask for.
    LoadedArcade updated("update_after_frames=1\r\nupdate_source=" + version2 + "\r\n", version2);
    ASSERT_EQ(updated.Initialize(), 0);
    ASSERT_EQ(updated.Enter(MADLL_MENU_OTHER_GAMES), 0);
    updated.Draw(frame);
    updated.Draw(frame);
    EXPECT_FALSE(updated.Get<madll_IsASystemUpdateRequired_t>("madll_IsASystemUpdateRequired")());
    EXPECT_EQ(GetFileAttributesA(updated.folder.File("Update").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(ReferenceArcade, VariantsLackTheirExportAndVersion2SaysSo)
{
    for (const char* missing :
         {"madll_GetValueAsFloat", "madll_Initialize", "madll_DrawNextFrameIntoBuffer"}) {
        SCOPED_TRACE(missing);
        LoadedArcade variant("", ProgramFolder() + "arcade-variants\\without-" + missing + "\\MorvessaArcade.dll");
        ASSERT_NE(variant.module, nullptr);
        for (const char* name : kExports)
            EXPECT_EQ(GetProcAddress(variant.module, name) == nullptr, std::string(name) == missing) << name;
    }
    LoadedArcade version2("", ProgramFolder() + "arcade-variants\\version2\\MorvessaArcade.dll");
    EXPECT_EQ(version2.Get<madll_GetDLLVersionAsInt_t>("madll_GetDLLVersionAsInt")(), 2);
    EXPECT_STREQ(version2.Get<madll_GetDLLVersionAsString_t>("madll_GetDLLVersionAsString")(), "2.0");
}
