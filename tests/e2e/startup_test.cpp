#include <gtest/gtest.h>

#include <random>

#include "shell_driver.h"

TEST(Startup, BrokenSettingsOrArcadeLayerEndTheShellWithItsMessageBeforeAnyWindow)
{
    const char kCorrupt[] = "Game files are corrupt, please re-install game and try again.";
    const char kArcade[] = "There was an error initializing the application. It will now exit.";
    // 10 MB of noise without NUL bytes; its name only at the very end, read only when all of it is.
    std::string noise(10u << 20, 'x');
    std::mt19937 random(1);
    for (size_t i = 1; i < noise.size(); ++i)
        noise[i] = static_cast<char>(1 + random() % 255);
    const std::string name = "Application Name=Sample Game\r\n";
    const struct {
        const char* name;
        bool writeSettings;
        std::string settings;
        const char* arcade;  // none: no arcade DLL
        const char* caption;
        const char* message;
    } cases[] = {
        {"no settings", false, "", "", "FATAL ERROR", "Could not get file size"},
        {"empty settings", true, "", "", "FATAL ERROR", kCorrupt},
        {"no name", true, "Application ID=5\r\nDeveloper Channel ID 3\r\n", "", "FATAL ERROR", kCorrupt},
        {"no arcade DLL, 10 MB of settings", true, noise + "\r\n" + name, nullptr, "Application Error", kArcade},
        {"initialisation refused", true, name, "initialize_result=7\r\n", "Application Error", kArcade},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GameFolder folder;
        if (c.writeSettings)
            folder.WriteSettings(c.settings);
        if (c.arcade != nullptr)
            folder.WriteArcadeSettings(c.arcade);
        else
            DeleteFileA(folder.File("MorvessaArcade\\MorvessaArcade.dll").c_str());
        ChildRun shell;
        ASSERT_TRUE(shell.Start(folder.shellPath));
        HWND box = shell.WaitMessageBox(c.caption);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box), c.message);
        EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
        EXPECT_EQ(shell.FindWindowOf(kWrapperClass), nullptr);
        PressButton(box, IDOK);
        EXPECT_EQ(shell.WaitExit(10000), 0u);
    }
}
