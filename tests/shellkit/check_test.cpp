#include <gtest/gtest.h>

#include <functional>

#include "kit_run.h"

namespace {

const char kGame[] = "Target Practice";
const std::string kSettings = "Application Name=Target Practice\r\nApplication ID=1001\r\nDeveloper Channel ID 7\r\n";

struct Trap {
    const char* name;
    std::function<void(const fs::path&)> breakIt;
    std::vector<std::string> expected;  // one fragment of each line check must print
    int exitCode;
};

void Settings(const fs::path& folder, const std::string& text)
{
    WriteText(folder / "MAW_002.dat", text);
}

std::string Utf16(const std::string& text)
{
    std::string wide = "\xFF\xFE";
    for (char c : text)
        wide += std::string(1, c) + '\0';
    return wide;
}

void SetMachine(const fs::path& image, uint16_t machine)
{
    std::string bytes = ReadText(image);
    const uint32_t pe = static_cast<uint8_t>(bytes[0x3C]) | static_cast<uint8_t>(bytes[0x3D]) << 8;
    bytes[pe + 4] = static_cast<char>(machine & 0xFF);
    bytes[pe + 5] = static_cast<char>(machine >> 8);
    WriteText(image, bytes);
}

void ReplaceArcade(const fs::path& folder, const fs::path& with)
{
    for (const fs::path& place : {fs::path("MorvessaArcade/MorvessaArcade.dll"),
                                  fs::path("MorvessaArcade/Backup/MorvessaArcade.dll")})
        fs::copy_file(with, folder / place, fs::copy_options::overwrite_existing);
}

void RenameGame(const fs::path& folder, const std::string& name)
{
    fs::rename(folder / (std::string(kGame) + ".exe"), folder / (name + ".exe"));
    fs::rename(folder / (std::string(kGame) + ".MWG"), folder / (name + ".MWG"));
}

std::string Words(size_t length)
{
    std::string text;
    while (text.size() < length)
        text += text.size() % 9 == 8 ? ' ' : static_cast<char>('a' + text.size() % 26);
    return text;
}

bool IsDiagnostic(const std::string& line)
{
    return line.find(": error: ") != std::string::npos || line.find(": warning: ") != std::string::npos;
}

TEST(ShellkitCheck, EachTrapGivesItsOwnReportAndExitCodeAndAFolderFromNewGivesNone)
{
    Scratch scratch;
    const fs::path clean = scratch.root / "clean";
    const KitRun made = RunKit(NewArguments(clean, kGame));
    ASSERT_EQ(made.exitCode, 0) << (made.lines.empty() ? "" : made.lines[0]);
    ASSERT_EQ(ReadText(clean / "MAW_002.dat"), kSettings);

    const std::string dll = "MorvessaArcade/MorvessaArcade.dll";
    const Trap traps[] = {
        {"clean", [](const fs::path&) {}, {}, 0},
        {"bare LF after the name", [](const fs::path& f) { Settings(f, "Application Name=Target Practice\nApplication ID=1001\r\nDeveloper Channel ID 7\r\n"); },
         {"MAW_002.dat:1: error: ends in a bare LF"}, 1},
        {"bare LF on a line the shell does not read", [](const fs::path& f) { Settings(f, kSettings + "Made by hand\n"); },
         {"MAW_002.dat:4: warning: ends in a bare LF"}, 0},
        {"CR without LF", [](const fs::path& f) { Settings(f, "Application Name=Target Practice\rApplication ID=1001\r\nDeveloper Channel ID 7\r\n"); },
         {"MAW_002.dat:1: error: a CR without LF", "MAW_002.dat:1: error: \"Application ID=\" first appears inside this line's value"}, 1},
        {"channel with =", [](const fs::path& f) { Settings(f, "Application Name=Target Practice\r\nApplication ID=1001\r\nDeveloper Channel ID=7\r\n"); },
         {"MAW_002.dat:3: error: \"Developer Channel ID\" takes no \"=\": the channel reads as 0; write \"Developer Channel ID 7\""}, 1},
        {"no name", [](const fs::path& f) { Settings(f, "Application ID=1001\r\nDeveloper Channel ID 7\r\n"); },
         {"MAW_002.dat: error: no \"Application Name=\""}, 1},
        {"empty name", [](const fs::path& f) { Settings(f, "Application Name=\r\n" + kSettings.substr(34)); },
         {"MAW_002.dat:1: error: the name is empty"}, 1},
        {"name cut at 254", [](const fs::path& f) { Settings(f, "Application Name=" + Words(255) + "\r\n" + kSettings.substr(34)); },
         {"MAW_002.dat:1: error: the name is 255 characters long; the shell keeps only the first 254",
          "MAW_002.dat:1: warning: with this name the closing screen's text ends at y 558, below the top of its buttons at y 472"}, 1},
        {"a 254-character name hides the countdown", [](const fs::path& f) { Settings(f, "Application Name=" + Words(254) + "\r\n" + kSettings.substr(34)); },
         {"MAW_002.dat:1: warning: with this name the closing screen's text ends at y 558, below the top of its buttons at y 472"}, 0},
        {"a 180-character name fits", [](const fs::path& f) { Settings(f, "Application Name=" + Words(180) + "\r\n" + kSettings.substr(34)); }, {}, 0},
        {"ID not a number", [](const fs::path& f) { Settings(f, "Application Name=Target Practice\r\nApplication ID=abc\r\nDeveloper Channel ID 7\r\n"); },
         {"MAW_002.dat:2: error: the application ID \"abc\" is not a decimal number: the shell reads 0"}, 1},
        {"ID -1", [](const fs::path& f) { Settings(f, "Application Name=Target Practice\r\nApplication ID=-1\r\nDeveloper Channel ID 7\r\n"); },
         {"MAW_002.dat:2: error: the application ID \"-1\" is not a decimal number: the shell reads 4294967295"}, 1},
        {"channel 0", [](const fs::path& f) { Settings(f, "Application Name=Target Practice\r\nApplication ID=1001\r\nDeveloper Channel ID 0\r\n"); },
         {"MAW_002.dat:3: error: the developer channel ID reads as 0"}, 1},
        {"ID too large", [](const fs::path& f) { Settings(f, "Application Name=Target Practice\r\nApplication ID=2147483648\r\nDeveloper Channel ID 7\r\n"); },
         {"MAW_002.dat:2: error: the application ID 2147483648 is too large"}, 1},
        {"no channel", [](const fs::path& f) { Settings(f, "Application Name=Target Practice\r\nApplication ID=1001\r\n"); },
         {"MAW_002.dat: error: no \"Developer Channel ID\""}, 1},
        {"key repeated", [](const fs::path& f) { Settings(f, kSettings + "Application ID=5\r\n"); },
         {"MAW_002.dat:4: error: \"Application ID=\" again: the shell reads only the first, on line 2"}, 1},
        {"key inside the name", [](const fs::path& f) { Settings(f, "Application Name=Target Application ID=5\r\nApplication ID=1001\r\nDeveloper Channel ID 7\r\n"); },
         {"MAW_002.dat:1: error: \"Application ID=\" first appears inside this line's value",
          "MAW_002.dat:2: error: \"Application ID=\" again: the shell reads only the first, on line 1"}, 1},
        {"key inside a later value", [](const fs::path& f) { Settings(f, kSettings + "Note=see Application ID=5\r\n"); },
         {"MAW_002.dat:4: warning: \"Application ID=\" appears inside this line's value"}, 0},
        {"key in the wrong case", [](const fs::path& f) { Settings(f, "Application Name=Target Practice\r\napplication id=1001\r\nDeveloper Channel ID 7\r\n"); },
         {"MAW_002.dat:2: error: \"application id=\" is not read: keys are case-sensitive; write \"Application ID=\"",
          "MAW_002.dat: error: no \"Application ID=\""}, 1},
        {"UTF-16", [](const fs::path& f) { Settings(f, Utf16(kSettings)); }, {"MAW_002.dat: warning: saved as UTF-16"}, 0},
        {"no settings", [](const fs::path& f) { fs::remove(f / "MAW_002.dat"); },
         {"MAW_002.dat: error: missing: the shell stops with \"Could not get file size\""}, 1},
        {"shell renamed", [](const fs::path& f) { fs::rename(f / "Target Practice.exe", f / "shell.exe"); },
         {"Target Practice.exe: error: missing: the shell must lie beside the game, named like it"}, 1},
        {"no game", [](const fs::path& f) { fs::remove(f / "Target Practice.MWG"); }, {"clean: error: no game"}, 1},
        {"two games", [](const fs::path& f) { fs::copy_file(f / "Target Practice.MWG", f / "Other.MWG"); },
         {"clean: error: more than one .MWG file", "Other.exe: error: missing"}, 1},
        {"game not a program", [](const fs::path& f) { WriteText(f / "Target Practice.MWG", "MZ but nothing else"); },
         {"Target Practice.MWG: error: not a Windows executable"}, 1},
        {"game is a DLL", [](const fs::path& f) { fs::copy_file(WindowsBin("MorvessaArcade.dll"), f / "Target Practice.MWG", fs::copy_options::overwrite_existing); },
         {"Target Practice.MWG: error: a DLL, not a program", "Target Practice.MWG: warning: the game has no icon"}, 1},
        {"named like an installer, no manifest", [](const fs::path& f) { RenameGame(f, "Patchwork Setup"); },
         {"Patchwork Setup.MWG: warning: the name holds \"setup\""}, 0},
        {"no arcade DLL", [](const fs::path& f) { fs::remove(f / "MorvessaArcade/MorvessaArcade.dll"); },
         {dll + ": error: missing: the shell ends with \"There was an error initializing the application. It will now exit.\""}, 1},
        {"64-bit arcade DLL", [](const fs::path& f) { for (const char* p : {"MorvessaArcade/MorvessaArcade.dll", "MorvessaArcade/Backup/MorvessaArcade.dll"}) SetMachine(f / p, 0x8664); },
         {dll + ": error: built for 64-bit x64, the shell for 32-bit x86"}, 1},
        {"arcade DLL lacks an export", [](const fs::path& f) { ReplaceArcade(f, WindowsBin("arcade-variants/without-madll_GetValueAsFloat/MorvessaArcade.dll")); },
         {dll + ": error: lacks the export \"madll_GetValueAsFloat\""}, 1},
        {"arcade DLL is a program", [](const fs::path& f) { ReplaceArcade(f, WindowsBin("demo-game.exe")); },
         {dll + ": error: a program, not a DLL"}, 1},
        {"no Backup folder", [](const fs::path& f) { fs::remove_all(f / "MorvessaArcade/Backup"); },
         {"MorvessaArcade/Backup: error: missing"}, 1},
        {"Backup lacks the DLL", [](const fs::path& f) { fs::remove(f / "MorvessaArcade/Backup/MorvessaArcade.dll"); },
         {dll + ": error: no copy in Backup"}, 1},
        {"Backup holds another version", [](const fs::path& f) { fs::copy_file(WindowsBin("arcade-variants/version2/MorvessaArcade.dll"), f / "MorvessaArcade/Backup/MorvessaArcade.dll", fs::copy_options::overwrite_existing); },
         {"MorvessaArcade/Backup/MorvessaArcade.dll: warning: differs from the file it backs up"}, 0},
        {"arcade file without a copy", [](const fs::path& f) { WriteText(f / "MorvessaArcade/Catalogue.dat", "x"); },
         {"MorvessaArcade/Catalogue.dat: warning: no copy in Backup"}, 0},
        {"no background", [](const fs::path& f) { fs::remove(f / "Background.jpg"); }, {"Background.jpg: error: missing"}, 1},
        {"background a bitmap", [](const fs::path& f) { WriteText(f / "Background.jpg", "BM\x36\0\0\0"); },
         {"Background.jpg: error: is not a JPEG picture"}, 1},
        {"background cut short", [](const fs::path& f) { const std::string jpeg = ReadText(f / "Background.jpg"); WriteText(f / "Background.jpg", jpeg.substr(0, jpeg.size() / 2)); },
         {"Background.jpg: error: does not decode"}, 1},
        {"background 720 x 480", [](const fs::path& f) { std::system(("convert-im6.q16 -size 720x480 xc:navy " + Quoted(f / "Background.jpg")).c_str()); },
         {"Background.jpg: warning: the picture is 720 x 480"}, 0},
        // "C:\Program Files (x86)\" + name + "\MorvessaArcade\MorvessaArcade.dll": 259 characters fit.
        {"installed DLL path of 260", [](const fs::path& f) { RenameGame(f, std::string(203, 'N')); },
         {dll + ": error: installed under \"C:\\Program Files (x86)\\" + std::string(203, 'N') + "\\\" its path is 260 characters long",
          "MorvessaArcade/Backup/MorvessaArcade.dll: warning: installed under", std::string(203, 'N') + ".exe: warning: installed under",
          std::string(203, 'N') + ".MWG: warning: installed under"}, 1},
        {"installed DLL path of 259", [](const fs::path& f) { RenameGame(f, std::string(202, 'N')); },
         {"MorvessaArcade/Backup/MorvessaArcade.dll: warning: installed under", std::string(202, 'N') + ".exe: warning: installed under",
          std::string(202, 'N') + ".MWG: warning: installed under"}, 0},
    };
    for (const Trap& trap : traps) {
        SCOPED_TRACE(trap.name);
        const fs::path folder = scratch.root / "clean";
        const fs::path pristine = scratch.root / "pristine";
        fs::copy(clean, pristine, fs::copy_options::recursive);
        trap.breakIt(folder);
        const KitRun run = RunKit("check " + Quoted(folder));
        fs::remove_all(folder);
        fs::rename(pristine, folder);

        EXPECT_EQ(run.exitCode, trap.exitCode);
        int errors = 0;
        int warnings = 0;
        std::vector<bool> seen(trap.expected.size());
        for (const std::string& line : run.lines) {
            if (!IsDiagnostic(line))
                continue;
            errors += line.find(": error: ") != std::string::npos;
            warnings += line.find(": warning: ") != std::string::npos;
            bool expected = false;
            for (size_t i = 0; i < trap.expected.size(); ++i)
                if (line.find(trap.expected[i]) != std::string::npos)
                    expected = seen[i] = true;
            EXPECT_TRUE(expected) << "unexpected: " << line;
            EXPECT_EQ(line.compare(0, folder.string().size(), folder.string()), 0) << line;
        }
        for (size_t i = 0; i < seen.size(); ++i)
            EXPECT_TRUE(seen[i]) << "missing: " << trap.expected[i];
        ASSERT_FALSE(run.lines.empty());
        EXPECT_EQ(run.lines.back(), folder.string() + ": " + std::to_string(errors) + " error(s), " +
                                        std::to_string(warnings) + " warning(s)");
    }

    const KitRun missing = RunKit("check " + Quoted(scratch.root / "nowhere"));
    EXPECT_EQ(missing.exitCode, 2);
    ASSERT_EQ(missing.lines.size(), 1u);
    EXPECT_NE(missing.lines[0].find("no such folder"), std::string::npos);
}

}  // namespace
