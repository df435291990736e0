#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>

#include "arcade/ma_module_state.h"
#include "arcade_folder.h"

namespace {
const char kNotLoaded[] =
    "The MorvessaArcade.dll file could not be loaded. If could be corrupted or in the wrong location. The correct "
    "location is within the \"MorvessaArcade\" subfolder which should be in the same folder as the application's exe "
    "file.";
const char kNoInformation[] = "Extended error information is not available for the last error.";
const char kUnrecoverable[] =
    "Morvessa Arcade has encountered an unrecoverable error and cannot link to the dll. The application must be "
    "reinstalled.";

// The reference DLL of the other Windows build, which the test command builds as well.
std::string OtherArchitectureDll()
{
    return ProgramFolder() + "..\\..\\" + (sizeof(void*) == 4 ? "win64" : "win32") + "\\bin\\MorvessaArcade.dll";
}

bool DllStillLoaded(const ArcadeFolder& arcade)
{
    return GetModuleHandleA((arcade.path + "MorvessaArcade.dll").c_str()) != nullptr;
}
}  // namespace

TEST(ArcadeLoad, LinksTheDllBesideTheProgramPassesTheIdentityInOrderAndOrdersTheErrorTexts)
{
    ArcadeFolder arcade;
    arcade.Install(ArcadeFolder::BuiltDll());
    arcade.Settings("enter_result=9\r\nerror_text=Catalogue offline");
    const std::string name(1023, 'N');

    ASSERT_EQ(MA_Initialize(1234, name.c_str(), 42, 0), 0);

    ArcadeModuleState& state = ArcadeModuleState::Instance();
    EXPECT_EQ(std::string(state.arcadeFolder), ProgramFolder() + "MorvessaArcade\\");
    EXPECT_EQ(std::string(state.applicationName), name) << "a 1023-character name is kept whole";
    EXPECT_EQ(arcade.Calls(),
              (std::vector<std::string>{"madll_GetDLLVersionAsString -> \"1.0\"", "madll_GetDLLVersionAsInt -> 1",
                                        "madll_Initialize 1234 \"" + name + "\" 42 0 6 -> 0"}));

    EXPECT_EQ(MA_EnterMenuSession(1, 720, 540), 9);
    EXPECT_STREQ(MA_GetLastErrorInformation(), "Catalogue offline") << "the DLL's own text";
    state.unrecoverable = true;
    EXPECT_STREQ(MA_GetLastErrorInformation(), kUnrecoverable);
    state.unrecoverable = false;

    MA_ShutDown();
    EXPECT_EQ(arcade.Calls("madll_ShutDown").size(), 1u);
    EXPECT_FALSE(DllStillLoaded(arcade));
}

TEST(ArcadeLoad, FailuresGiveTheirCodesAndTextsAndReleaseTheDll)
{
    std::string noise(64 * 1024, '\0');
    std::generate(noise.begin(), noise.end(), std::mt19937(3));
    const std::string versions = "madll_GetDLLVersionAsString -> \"1.0\"|madll_GetDLLVersionAsInt -> 1|";
    const struct {
        std::string dll;  // a DLL built beside this program, or else the bytes of the file
        const char* settings;
        int code;
        const char* text;  // after the failure; the released DLL is never asked
        std::string calls;
    } cases[] = {
        {"", "", 3, kNotLoaded, ""},
        {noise, "", 3, kNotLoaded, ""},
        {"MZ" + noise, "", 3, kNotLoaded, ""},
        {OtherArchitectureDll(), "", 3, kNotLoaded, ""},
        {ArcadeFolder::BuiltDll("without-madll_GetValueAsFloat"), "", 5,
         "Could not link to 'madll_GetValueAsFloat' function within the dll.", versions},
        {ArcadeFolder::BuiltDll(), "initialize_result=7", 7, kNoInformation,
         versions + "madll_Initialize 1 \"Game\" 2 0 6 -> 7|"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        ArcadeFolder arcade;
        if (c.dll.rfind(ProgramFolder(), 0) == 0) {
            ASSERT_NE(GetFileAttributesA(c.dll.c_str()), INVALID_FILE_ATTRIBUTES) << c.dll << " is not built";
            arcade.Install(c.dll);
        } else
            arcade.Write("MorvessaArcade.dll", c.dll);
        arcade.Settings(c.settings);
        EXPECT_EQ(MA_Initialize(1, "Game", 2, 0), c.code);
        EXPECT_STREQ(MA_GetLastErrorInformation(), c.text);
        std::string calls;
        for (const std::string& call : arcade.Calls())
            calls += call + "|";
        EXPECT_EQ(calls, c.calls);
        EXPECT_FALSE(DllStillLoaded(arcade));
    }
}

TEST(ArcadeErrors, FailedAssertionsNameTheFileAndExpressionAndEndTheProcess)
{
    const struct {
        const char* operation;
        const char* expression;
        bool usageBoxFirst;
    } cases[] = {
        {"session-before-init", "Expression: madll_IsTheMenuSessionComplete != NULL", true},
        {"name-too-long", "Expression: strlen(pApplicationName) < MAX_APPLICATION_NAME_LENGTH", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.operation);
        ChildRun probe;
        ASSERT_TRUE(probe.Start(ProgramFolder() + "arcade_probe.exe", c.operation));
        if (c.usageBoxFirst) {
            // The usage box, and then the operation goes on.
            HWND usage = probe.WaitMessageBox("Error In MorvessaArcade API Usage");
            ASSERT_NE(usage, nullptr);
            EXPECT_EQ(MessageBoxText(usage), "Must call MA_Initialize before any other API function.");
            PressButton(usage, IDOK);
        }
        HWND box = probe.WaitMessageBox("MorvessaArcade API");
        ASSERT_NE(box, nullptr);
        const std::string text = MessageBoxText(box);
        EXPECT_NE(text.find("File: ma_apifunctions"), std::string::npos) << text;
        EXPECT_NE(text.find(c.expression), std::string::npos) << text;
        // The line shown is the check's own line in that file.
        const size_t line = std::strtoul(text.c_str() + text.find("Line: ") + 6, nullptr, 10);
        const std::vector<std::string> source = ReadLines(SOURCE_DIR "/src/arcade/ma_apifunctions.cpp");
        const std::string shown = line >= 1 && line <= source.size() ? source[line - 1] : "";
        const std::string expression = std::string(c.expression).substr(12);
        EXPECT_TRUE(shown.find(expression) != std::string::npos || shown.find("MA_AssertionFailed(") != std::string::npos)
            << "line " << line << ": " << shown;
        PressButton(box, IDOK);
        EXPECT_EQ(probe.WaitExit(10000), 3u);
    }
}
