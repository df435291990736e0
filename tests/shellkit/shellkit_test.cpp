#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <sstream>

#include "file_system.h"
#include "process.h"

// The native shellkit run as a publisher runs it, on game folders made of the Windows builds' programs.
namespace {

namespace fs = std::filesystem;

const char kGame[] = "Target Practice";
const std::string kSettings = "Application Name=Target Practice\r\nApplication ID=1001\r\nDeveloper Channel ID 7\r\n";

struct Scratch {
    std::string pattern = (fs::temp_directory_path() / "shellkit-test-XXXXXX").string();
    const fs::path root = mkdtemp(&pattern[0]);
    ~Scratch() { fs::remove_all(root); }
};

void WriteText(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadText(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

struct KitRun {
    int exitCode;
    std::string output;  // both streams unless told
};

KitRun RunKit(const std::string& arguments, const fs::path& in = ".", const std::string& streams = "",
              const std::string& kit = SHELLKIT)
{
    const std::string log = TemporarySibling((fs::temp_directory_path() / "shellkit-test.log").string());
    const int code = RunShellCommand("cd " + ShellQuoted(in) + " && " + kit + " " + arguments + " " + streams, log);
    const KitRun run = {code, ReadText(log)};
    fs::remove(log);
    return run;
}

fs::path WindowsBin(const std::string& file)
{
    return fs::path(WIN32_BIN) / file;
}

std::string NewArguments(const fs::path& folder, const std::string& name)
{
    return "new " + ShellQuoted(folder) + " --name " + ShellQuoted(name) + " --app-id 1001 --channel 7 --game " +
           ShellQuoted(WindowsBin("demo-game.exe")) + " --background " +
           ShellQuoted(WindowsBin("testdata/Background.jpg")) + " --arcade " +
           ShellQuoted(WindowsBin("MorvessaArcade.dll")) + " --shell " + ShellQuoted(WindowsBin("shell.exe"));
}

using Breaker = std::function<void(const fs::path&)>;

// The clean settings with one piece of text replaced.
Breaker Settings(const std::string& from, const std::string& to)
{
    return [=](const fs::path& folder) {
        std::string text = kSettings;
        WriteText(folder / "MAW_002.dat", text.replace(text.find(from), from.size(), to));
    };
}

// A file of the folder replaced by a copy of another.
Breaker Replace(const std::string& file, const fs::path& with)
{
    return [=](const fs::path& folder) { fs::copy_file(with, folder / file, fs::copy_options::overwrite_existing); };
}

Breaker Arcade(const fs::path& with)
{
    return [=](const fs::path& folder) {
        Replace("MorvessaArcade/MorvessaArcade.dll", with)(folder);
        Replace("MorvessaArcade/Backup/MorvessaArcade.dll", with)(folder);
    };
}

// A copy of a DLL with a certificate table, which is what `check` looks for; its
// contents are no signature.
fs::path WithCertificateTable(const fs::path& dll, const fs::path& copy)
{
    std::string bytes = ReadText(dll);
    bytes.resize((bytes.size() + 7) / 8 * 8);
    const uint32_t table[] = {static_cast<uint32_t>(bytes.size()), 16};
    const uint32_t pe = *reinterpret_cast<const uint32_t*>(&bytes[0x3C]);
    const size_t directories = pe + 24 + (bytes[pe + 24] == 0x0B && bytes[pe + 25] == 0x02 ? 112 : 96);
    bytes.replace(directories + 4 * 8, 8, reinterpret_cast<const char*>(table), 8);
    WriteText(copy, bytes + std::string("\x10\0\0\0\0\x02\x02\0", 8) + std::string(8, 'x'));
    return copy;
}

// Files of one byte, with their folders.
Breaker Touch(const std::vector<std::string>& files)
{
    return [=](const fs::path& folder) {
        for (const std::string& file : files)
            fs::create_directories((folder / file).parent_path()), WriteText(folder / file, "x");
    };
}

Breaker RenameGame(const std::string& name)
{
    return [=](const fs::path& folder) {
        for (const std::string extension : {".exe", ".MWG"})
            fs::rename(folder / (kGame + extension), folder / (name + extension));
    };
}

// A background drawn by ImageMagick.
Breaker Picture(const std::string& drawing, const std::string& size = "720x540")
{
    return [=](const fs::path& folder) {
        const std::string picture = ShellQuoted(folder / "Background.jpg");
        std::system(("convert-im6.q16 -size " + size + " " + drawing + " " + picture).c_str());
    };
}

std::string Words(size_t length)
{
    std::string text;
    while (text.size() < length)
        text += text.size() % 9 == 8 ? ' ' : static_cast<char>('a' + text.size() % 26);
    return text;
}

struct Trap {
    const char* name;
    Breaker breakIt;
    std::vector<std::string> reports;  // how each line check prints begins, in order
};

TEST(ShellkitCheck, EachTrapGivesItsOwnReportAndExitCodeAndAFolderFromNewGivesNone)
{
    Scratch scratch;
    const fs::path clean = scratch.root / "clean";
    const fs::path game = scratch.root / "Game";
    const KitRun made = RunKit(NewArguments(clean, kGame));
    ASSERT_EQ(made.exitCode, 0) << made.output;
    ASSERT_EQ(ReadText(clean / "MAW_002.dat"), kSettings);
    const fs::path vendorSigned = WithCertificateTable(WindowsBin("MorvessaArcade.dll"), scratch.root / "signed.dll");
    Arcade(vendorSigned)(clean);

    const std::string settings = "Game/MAW_002.dat";
    const std::string dll = "Game/MorvessaArcade/MorvessaArcade.dll";
    const std::string backup = "Game/MorvessaArcade/Backup/MorvessaArcade.dll";
    const std::string hidden = ": warning: with this name the closing screen's text ends at y 558, below the top of its buttons at y 472";
    const std::string n100(100, 'N'), n101(101, 'N'), n120(120, 'N'), n171(171, 'N'), n172(172, 'N');
    const std::string accounts = "C:\\Users\\<a 20-character account>\\AppData\\Local\\Programs\\";
    const std::string perUser = accounts + "Target Practice\\", perUser101 = accounts + n101 + "\\";
    const std::string perUser120 = accounts + n120 + "\\";
    std::string utf16 = "\xFF\xFE";  // with a byte order mark, as editors save it
    for (char c : kSettings)
        utf16 += std::string(1, c) + '\0';
    const Trap traps[] = {
        {"clean", [](const fs::path&) {}, {}},
        {"bare LF after the name", Settings("Practice\r\n", "Practice\n"), {settings + ":1: error: ends in a bare LF"}},
        {"bare LF on a line the shell does not read", Settings("ID 7\r\n", "ID 7\r\nMade by hand\n"),
         {settings + ":4: warning: ends in a bare LF"}},
        {"CR without LF", Settings("Practice\r\n", "Practice\r"),
         {settings + ":1: error: a CR without LF", settings + ":1: error: \"Application ID=\" first appears inside this line's value"}},
        {"channel with =", Settings("ID 7", "ID=7"),
         {settings + ":3: error: \"Developer Channel ID\" takes no \"=\": the channel reads as 0; write \"Developer Channel ID 7\""}},
        {"no name", Settings("Application Name=Target Practice\r\n", ""), {settings + ": error: no \"Application Name=\""}},
        {"empty name", Settings(kGame, ""), {settings + ":1: error: the name is empty"}},
        {"name cut at 254", Settings(kGame, Words(255)),
         {settings + ":1: error: the name is 255 characters long; the shell keeps only the first 254", settings + ":1" + hidden}},
        {"a 254-character name hides the countdown", Settings(kGame, Words(254)), {settings + ":1" + hidden}},
        {"a 181-character name fits", Settings(kGame, Words(181)), {}},
        {"ID not a number", Settings("1001", "abc"),
         {settings + ":2: error: the application ID \"abc\" is not a decimal number: the shell reads 0"}},
        {"channel 0", Settings("ID 7", "ID 0"), {settings + ":3: error: the developer channel ID reads as 0"}},
        {"ID too large", Settings("1001", "2147483648"), {settings + ":2: error: the application ID 2147483648 is too large"}},
        {"no channel", Settings("Developer Channel ID 7\r\n", ""), {settings + ": error: no \"Developer Channel ID\""}},
        {"key repeated", Settings("ID 7\r\n", "ID 7\r\nApplication ID=5\r\n"),
         {settings + ":4: error: \"Application ID=\" again: the shell reads only the first, on line 2"}},
        {"key inside the name", Settings(kGame, "Target Application ID=5"),
         {settings + ":1: error: \"Application ID=\" first appears inside this line's value",
          settings + ":2: error: \"Application ID=\" again: the shell reads only the first, on line 1"}},
        {"key inside a later value", Settings("ID 7\r\n", "ID 7\r\nNote=see Application ID=5\r\n"),
         {settings + ":4: warning: \"Application ID=\" appears inside this line's value"}},
        {"key in the wrong case", Settings("Application ID", "application id"),
         {settings + ":2: error: \"application id=\" is not read: keys are case-sensitive; write \"Application ID=\"",
          settings + ": error: no \"Application ID=\""}},
        {"UTF-16", [&](const fs::path& f) { WriteText(f / "MAW_002.dat", utf16); }, {settings + ": warning: saved as UTF-16"}},
        {"no settings", [](const fs::path& f) { fs::remove(f / "MAW_002.dat"); },
         {settings + ": error: missing: the shell stops with \"Could not get file size\""}},
        {"shell renamed", [](const fs::path& f) { fs::rename(f / "Target Practice.exe", f / "shell.exe"); },
         {"Game/Target Practice.exe: error: missing: the shell must lie beside the game, named like it"}},
        {"no game", [](const fs::path& f) { fs::remove(f / "Target Practice.MWG"); }, {"Game: error: no game"}},
        {"two games", [](const fs::path& f) { fs::copy_file(f / "Target Practice.MWG", f / "Other.MWG"); },
         {"Game: error: more than one .MWG file", "Game/Other.exe: error: missing"}},
        {"game not a program", [](const fs::path& f) { WriteText(f / "Target Practice.MWG", "MZ but nothing else"); },
         {"Game/Target Practice.MWG: error: not a Windows executable"}},
        {"game is a DLL", Replace("Target Practice.MWG", WindowsBin("MorvessaArcade.dll")),
         {"Game/Target Practice.MWG: error: a DLL, not a program", "Game/Target Practice.MWG: warning: the game has no icon"}},
        {"named like an installer, no manifest", RenameGame("Patchwork Setup"),
         {"Game/Patchwork Setup.MWG: warning: the name holds \"setup\""}},
        {"no arcade DLL", [](const fs::path& f) { fs::remove(f / "MorvessaArcade/MorvessaArcade.dll"); },
         {dll + ": error: missing: the shell ends with \"There was an error initializing the application. It will now exit.\""}},
        {"64-bit arcade DLL", Arcade(WIN64_BIN "/MorvessaArcade.dll"), {dll + ": error: built for 64-bit x64, the shell for 32-bit x86"}},
        {"arcade DLL lacks an export", Arcade(WindowsBin("arcade-variants/without-madll_GetValueAsFloat/MorvessaArcade.dll")),
         {dll + ": error: lacks the export \"madll_GetValueAsFloat\""}},
        {"arcade DLL exports __stdcall names", Arcade(WindowsBin("arcade-variants/decorated/MorvessaArcade.dll")),
         {dll + ": error: exports \"madll_Initialize@20\" where the shell looks for \"madll_Initialize\", and 8 more"}},
        {"arcade DLL is a program", Arcade(WindowsBin("demo-game.exe")), {dll + ": error: a program, not a DLL"}},
        {"arcade DLL without a signature", Arcade(WindowsBin("MorvessaArcade.dll")),
         {dll + ": warning: has no signature: Smart App Control blocks an unsigned DLL"}},
        {"no Backup folder", [](const fs::path& f) { fs::remove_all(f / "MorvessaArcade/Backup"); },
         {"Game/MorvessaArcade/Backup: error: missing"}},
        {"Backup lacks the DLL", [](const fs::path& f) { fs::remove(f / "MorvessaArcade/Backup/MorvessaArcade.dll"); },
         {dll + ": error: no copy in Backup"}},
        {"Backup holds another version",
         Replace("MorvessaArcade/Backup/MorvessaArcade.dll", WindowsBin("arcade-variants/version2/MorvessaArcade.dll")),
         {backup + ": warning: differs from the file it backs up"}},
        {"arcade file without a copy", Touch({"MorvessaArcade/Catalogue.dat"}),
         {"Game/MorvessaArcade/Catalogue.dat: warning: no copy in Backup"}},
        {"no background", [](const fs::path& f) { fs::remove(f / "Background.jpg"); }, {"Game/Background.jpg: error: missing"}},
        {"background a bitmap", [](const fs::path& f) { WriteText(f / "Background.jpg", "BM\x36\0\0\0"); },
         {"Game/Background.jpg: error: is not a JPEG picture"}},
        {"background cut short", [](const fs::path& f) { fs::resize_file(f / "Background.jpg", fs::file_size(f / "Background.jpg") / 2); },
         {"Game/Background.jpg: error: does not decode"}},
        {"background 720 x 480", Picture("xc:white", "720x480"), {"Game/Background.jpg: warning: the picture is 720 x 480"}},
        // "C:\Users\" + 20 + "\AppData\Local\Programs\" + name + "\" + name + ".exe": 259 characters fit.
        {"a 101-character file name", RenameGame(n101),
         {"Game/" + n101 + ".MWG: error: installed for one player, in \"" + perUser101 + "\", its path is 260 characters "
          "long, over the 259 Windows can open (for all users, in \"C:\\Program Files (x86)\\" + n101 + "\\\": 230): the "
          "shell cannot start the game; cut 1 character(s) from the file name",
          "Game/" + n101 + ".exe: error: installed for one player, in \"" + perUser101 + "\", its path is 260 characters "
          "long, over the 259 Windows can open (for all users, in \"C:\\Program Files (x86)\\" + n101 + "\\\": 230): "
          "Windows cannot start it, so the game does not start; cut 1 character(s) from the file name"}},
        {"a 100-character file name fits", RenameGame(n100), {}},
        {"the same under the publisher's folder", [&](const fs::path& f) {
             RenameGame(n100)(f);
             Settings("Developer Channel ID 7\r\n", "Developer Channel ID 7\r\nPublisher=Morvessa Demo\r\n")(f);
         },
         {"Game/" + n100 + ".MWG: error: installed for one player, in \"C:\\Users\\<a 20-character account>\\AppData\\Local"
          "\\Programs\\Morvessa Demo\\" + n100 + "\\\", its path is 272 characters long",
          "Game/" + n100 + ".exe: error: installed for one player"}},
        {"x64: 120 characters, under Program Files", [&](const fs::path& f) {
             Replace("Target Practice.exe", WIN64_BIN "/shell.exe")(f);
             Replace("Target Practice.MWG", WIN64_BIN "/demo-game.exe")(f);
             Arcade(WithCertificateTable(WIN64_BIN "/MorvessaArcade.dll", scratch.root / "signed64.dll"))(f);
             RenameGame(n120)(f);
         },
         {"Game/" + n120 + ".MWG: error: installed for one player, in \"" + perUser120 + "\", its path is 298 characters "
          "long, over the 259 Windows can open (for all users, in \"C:\\Program Files\\" + n120 + "\\\": 262): the shell "
          "cannot start the game; cut 20 character(s) from the file name",
          "Game/" + n120 + ".exe: error: installed for one player"}},
        {"an arcade file of 259 characters fits, one of 260 does not", 
         Touch({"MorvessaArcade/" + n171 + ".dat", "MorvessaArcade/" + n172 + ".dat", "levels/" + n100 + "/" + n100 + ".dat"}),
         {"Game/MorvessaArcade/" + n172 + ".dat: error: installed for one player, in \"" + perUser +
              "\", its path is 260 characters long, over the 259 Windows can open (for all users, in \"C:\\Program Files "
              "(x86)\\Target Practice\\\": 230): the arcade layer cannot open it, nor an update replace it; cut 1 "
              "character(s) from the file name",
          "Game/levels/" + n100 + "/" + n100 + ".dat: warning: installed for one player",
          "Game/MorvessaArcade/" + n171 + ".dat: warning: no copy in Backup",
          "Game/MorvessaArcade/" + n172 + ".dat: warning: no copy in Backup"}},
        // What editors write and the shell reads all the same: warnings at most.
        {"UTF-8 with a byte order mark", Settings("Application Name", "\xEF\xBB\xBF" "Application Name"),
         {settings + ": warning: saved as UTF-8 with a byte order mark: the shell takes the mark for three characters "
                     "before the first key and finds every key all the same; the name is plain ASCII, so it reads as "
                     "written; save it as ANSI"}},
        {"blanks after the numbers", Settings("1001\r\nDeveloper Channel ID 7", "1001 \r\nDeveloper Channel ID 7\t"),
         {settings + ":2: warning: the application ID \"1001 \" has blanks around the number: the shell reads 1001 all the same",
          settings + ":3: warning: the developer channel ID \"7\t\" has blanks around the number: the shell reads 7 all the same"}},
        {"a blank before the ID", Settings("=1001", "= 1001"),
         {settings + ":2: warning: the application ID \" 1001\" has blanks around the number"}},
        {"a blank after a number that is not one", Settings("1001", "10x1 "),
         {settings + ":2: error: the application ID \"10x1\" is not a decimal number: the shell reads 10"}},
        // What the player would see of the name.
        {"name in UTF-8", Settings("Target", "Caf\xC3\xA9"),
         {settings + ":1: error: the name is saved as UTF-8, but the shell reads it as ANSI text: the title bar and the "
                     "closing screen show \"Caf\xC3\x83\xC2\xA9 Practice\"; save the file as ANSI (Windows-1252)"}},
        {"UTF-8 with a mark and a name outside ASCII", Settings("Application Name=Target", "\xEF\xBB\xBF" "Application Name=Caf\xC3\xA9"),
         {settings + ": warning: saved as UTF-8 with a byte order mark: the shell takes the mark for three characters "
                     "before the first key and finds every key all the same; it reads the name as ANSI text, not as UTF-8",
          settings + ":1: error: the name is saved as UTF-8"}},
        {"name in Windows-1252", Settings("Target", "Caf\xE9"),
         {settings + ":1: warning: the name holds letters outside ASCII, which Windows set to another language shows as "
                     "other letters: with the Cyrillic code page (1251) the title reads \"Caf\xD0\xB9 Practice\""}},
        {"a tab after the name", Settings("Practice", "Practice\t"),
         {settings + ":1: warning: the name ends with a tab, which the shell keeps: the title bar and the closing screen "
                     "show it around \"Target Practice\""}},
        {"blanks around the name", Settings("Target Practice", " Target Practice "),
         {settings + ":1: warning: the name begins and ends with a blank"}},
        {"a tab inside the name", Settings("Target ", "Target\t"), {settings + ":1: warning: the name holds a tab"}},
        {"a display name that is no file name", Settings(kGame, "Pebble: The Hop"), {}},
        {"the game is the shell", Replace("Target Practice.MWG", WindowsBin("shell.exe")),
         {"Game/Target Practice.MWG: error: a copy of the shell, not the game: started as the game it finds the shell "
          "running, and the player sees \"You currently have another game running.\" and the closing screen, never a game"}},
        {"the game is the other build's shell", Replace("Target Practice.MWG", WIN64_BIN "/shell.exe"),
         {"Game/Target Practice.MWG: error: a copy of the shell"}},
        {"files that are no part of a game", 
         Touch({"Thumbs.db", "art/.DS_Store", "desktop.ini", "Target Practice.pdb", "Target Practice Setup.exe", "redist/runtime.msi",
                "MorvessaArcade/Channel.dat", "MorvessaArcade/Arcade/state.txt", "MorvessaArcade/Update/Channel.mvx"}),
         {"Game/MorvessaArcade/Arcade/state.txt: warning: the arcade layer's own record, written where the game runs, no "
          "part of the game: the installer leaves it out",
          "Game/MorvessaArcade/Channel.dat: warning: the arcade layer's own record",
          "Game/MorvessaArcade/Update/Channel.mvx: warning: the arcade layer's own record",
          "Game/Target Practice Setup.exe: error: an installer in the game folder: the game's installer would pack it "
          "whole and put it on every player's machine, and left out, a game that needs it would break; move it out of the folder",
          "Game/Target Practice.pdb: warning: debugging information of a build, no part of the game: the installer leaves it out",
          "Game/Thumbs.db: warning: Windows' cache of picture thumbnails, no part of the game: the installer leaves it out",
          "Game/art/.DS_Store: warning: macOS's settings for the folder, no part of the game: the installer leaves it out",
          "Game/desktop.ini: warning: Explorer's settings for the folder, no part of the game: the installer leaves it out",
          "Game/redist/runtime.msi: error: an installer in the game folder"}},
        {"a dark background under the text", Picture("xc:white -fill '#303030' -draw 'rectangle 460,30 689,471'"),
         {"Game/Background.jpg: warning: the picture under the closing screen's text column (x 460 to 690, y 30 to 472) "
          "is dark: black text on it has a contrast of 1.6:1, under the 4.5:1 that text needs to be read with ease; "
          "lighten that part of the picture"}},
        {"dark only outside the text column", Picture("xc:black -fill white -draw 'rectangle 460,30 689,471'"), {}},
    };
    for (const Trap& trap : traps) {
        SCOPED_TRACE(trap.name);
        fs::copy(clean, game, fs::copy_options::recursive);
        trap.breakIt(game);
        // The whole report on standard output.
        const KitRun run = RunKit("check Game", scratch.root, "2>/dev/null");
        fs::remove_all(game);

        int errors = 0;
        int warnings = 0;
        for (const std::string& report : trap.reports)
            ++(report.find(": error: ") != std::string::npos ? errors : warnings);
        std::vector<std::string> expected = trap.reports;
        expected.push_back("Game: " + std::to_string(errors) + " error(s), " + std::to_string(warnings) + " warning(s)");
        std::vector<std::string> printed;
        std::istringstream lines(run.output);
        for (std::string line; std::getline(lines, line);)
            printed.push_back(line.substr(0, printed.size() < expected.size() ? expected[printed.size()].size() : line.size()));
        EXPECT_EQ(printed, expected);
        EXPECT_EQ(run.exitCode, errors > 0 ? 1 : 0);
    }
}

TEST(ShellkitCommands, RefuseBadInputLeavingNothingBehindWorkInPathsWithSpacesAndNonAsciiLettersAndKeepADisplayName)
{
    Scratch scratch;
    const fs::path place = scratch.root / "Spiele f\xC3\xBCr alle";
    const fs::path game = place / kGame;
    const fs::path setup = place / "Target Practice Setup.exe";
    const fs::path notes = place / "notes.txt";
    fs::create_directories(place / "Empty");
    WriteText(notes, "not a program");
    WriteText(setup, "an older installer, replaced");
    ASSERT_EQ(RunKit(NewArguments(game, kGame)).exitCode, 0);
    EXPECT_EQ(RunKit("check " + ShellQuoted(game)).exitCode, 0);

    const std::string good = NewArguments(place / "Fresh", kGame);
    const auto with = [&](const std::string& flag, const std::string& value) {
        std::string arguments = good;
        const size_t at = arguments.find(flag + " ");
        const size_t end = arguments.find(" --", at + 2);
        return arguments.replace(at, end == std::string::npos ? std::string::npos : end - at, flag + " " + value);
    };
    const std::string installer = "installer " + ShellQuoted(game) + " --out " + ShellQuoted(setup);
    const struct {
        const char* name;
        std::string arguments;
        int exitCode;
        std::string message;
    } cases[] = {
        {"no command", "", 2, "shellkit new FOLDER"},
        {"unknown command", "make", 2, "unknown command \"make\""},
        {"a flag missing", with("--arcade", ""), 2, "--arcade needs a value"},
        {"a required flag left out", good.substr(0, good.find(" --name")), 2, "--name is missing"},
        {"an unknown flag", good + " --colour blue", 2, "unknown option --colour"},
        {"a flag twice", good + " --app-id 5", 2, "--app-id is given twice"},
        {"two folders", good + " Other", 2, "\"Other\" is one too many"},
        {"file name with a slash", good + " --file-name 'Target/Practice'", 1,
         "--file-name \"Target/Practice\": the file name holds \"/\", which a Windows file name cannot hold"},
        {"a title that gives no file name", with("--name", "':?'"), 1, "gives the file name \"\": the file name is empty; choose one with --file-name"},
        {"name over 254", with("--name", std::string(255, 'x')) + " --file-name X", 1, "the name is 255 characters long"},
        {"file name too long for a player's machine", with("--name", std::string(255, 'x')), 1,
         "Windows cannot start it, so the game does not start; cut 155 character(s) from the file name"},
        {"name outside Windows-1252", with("--name", "'\xD0\x96" "ar'"), 1, "holds a character that Windows-1252, the code page the title is saved in, does not have"},
        {"file name outside ASCII", good + " --file-name 'Caf\xC3\xA9'", 1, "outside printable ASCII"},
        {"name of a device", with("--name", "aux"), 1, "is a device name"},
        {"name holding a key", with("--name", "'Developer Channel ID 9'"), 1, "\"Developer Channel ID\" first appears inside this line's value"},
        {"ID not a number", with("--app-id", "12abc"), 1, "--app-id \"12abc\" is not a decimal number: the shell reads 12"},
        {"channel 0", with("--channel", "0"), 1, "--channel reads as 0"},
        {"folder exists", NewArguments(game, kGame), 2, "exists already"},
        {"parent is a file", NewArguments(notes / "Game", kGame), 2, "no folder"},
        {"parent cannot be written", NewArguments("/proc/Game", kGame), 2, "cannot write in /proc"},
        {"game missing", with("--game", ShellQuoted(place / "none.exe")), 2, "none.exe: no such file; nothing was written"},
        {"game a folder", with("--game", ShellQuoted(place)), 2, "a folder, not a file; nothing was written"},
        {"no shell beside the kit", NewArguments(place / "Fresh", kGame).substr(0, good.find(" --shell")), 2,
         "no shell.exe beside shellkit, nor in the shipping build's folder beside it: name the shell with --shell PATH"},
        {"game not a program", with("--game", ShellQuoted(notes)), 1, "would have 1 error(s); nothing was written"},
        {"background not a JPEG", with("--background", ShellQuoted(notes)), 1, notes.string() + ": error: is not a JPEG picture"},
        {"check of no folder", "check " + ShellQuoted(place / "none"), 2, "none: no such folder"},
        {"installer without --out", "installer " + ShellQuoted(game), 2, "--out is missing"},
        {"installer of no folder", "installer " + ShellQuoted(place / "none") + " --out " + ShellQuoted(setup), 2, "no such folder"},
        {"installer of a folder with errors", "installer " + ShellQuoted(place / "Empty") + " --out " + ShellQuoted(setup), 1,
         "error(s): no installer was made"},
        {"version of two parts", installer + " --version 1.2", 2, "is not X.Y.Z"},
        {"version part too large", installer + " --version 1.2.65536", 2, "is not X.Y.Z"},
        {"out in no folder", "installer " + ShellQuoted(game) + " --out " + ShellQuoted(place / "none" / "S.exe"), 2, "no folder"},
        {"makensis not found", installer + " --makensis " + ShellQuoted(place / "makensis"), 2,
         "makensis was not found: install NSIS (the Debian package nsis), or name it with --makensis PATH"},
        {"no certificate", installer + " --sign " + ShellQuoted(place / "c.pfx") + " --timestamp u", 2, "no such certificate"},
        {"password alone", installer + " --sign-password-file " + ShellQuoted(notes), 2, "a password or a timestamp server without --sign"},
        {"password on a command line", installer + " --sign " + ShellQuoted(notes) + " --sign-password x", 2,
         "would put the password on a command line"},
        {"certificate not one", installer + " --sign " + ShellQuoted(notes) + " --no-timestamp", 1, "could not sign "},
        {"no timestamp", installer + " --sign " + ShellQuoted(notes), 2, "--sign without --timestamp URL"},
        {"timestamp and none", installer + " --sign " + ShellQuoted(notes) + " --timestamp u --no-timestamp", 2,
         "a timestamp or none"},
        {"signing command without its file", installer + " --sign-command 'sign-it'", 2, "has no {file}"},
        {"arcade natively", "arcade " + ShellQuoted(WindowsBin("MorvessaArcade.dll")), 2, "the command needs Windows"},
    };
    // Everything in the folder, so that a refused command is seen to leave nothing behind.
    const auto listing = [&] { return std::set<fs::path>(fs::recursive_directory_iterator(place), {}); };
    const std::set<fs::path> before = listing();
    // A copy of the kit with no shell beside it nor in a build folder beside that.
    const fs::path lonelyKit = scratch.root / "kit" / "shellkit";
    fs::create_directories(lonelyKit.parent_path());
    fs::copy_file(SHELLKIT, lonelyKit);
    for (const auto& input : cases) {
        SCOPED_TRACE(input.name);
        const bool lonely = input.arguments.find(" --shell ") == std::string::npos && input.arguments.compare(0, 4, "new ") == 0;
        const KitRun run = RunKit(input.arguments, ".", "", lonely ? lonelyKit.string() : SHELLKIT);
        EXPECT_EQ(run.exitCode, input.exitCode) << run.output;
        EXPECT_NE(run.output.find(input.message), std::string::npos) << run.output;
        EXPECT_EQ(listing(), before);
    }

    const KitRun made = RunKit(installer + " --version 2.0.1");
    ASSERT_EQ(made.exitCode, 0) << made.output;
    // The setup follows the shell's architecture: a 32-bit shell, a 32-bit setup.
    const std::string image = ReadText(setup);
    ASSERT_GT(image.size(), 100000u);
    EXPECT_EQ(image.substr(*reinterpret_cast<const uint32_t*>(&image[0x3C]), 6), std::string("PE\0\0\x4C\x01", 6));
    EXPECT_EQ(listing(), before) << "the older installer replaced, nothing left over";

    // A display name: the title in the settings, ASCII file names from it, and the title on the installer.
    const std::string settings = "\r\nApplication ID=1001\r\nDeveloper Channel ID 7\r\n";
    const KitRun hop = RunKit(NewArguments(scratch.root / "Hop", "Pebble: The Hop"));
    EXPECT_EQ(hop.output.substr(hop.output.find('\n') + 1), (scratch.root / "Hop").string() + ": laid out for \"Pebble: The Hop\" as Pebble The Hop.exe (1 warning(s))\n");
    EXPECT_EQ(ReadText(scratch.root / "Hop" / "MAW_002.dat"), "Application Name=Pebble: The Hop" + settings);
    EXPECT_TRUE(fs::exists(scratch.root / "Hop" / "Pebble The Hop.MWG"));
    EXPECT_EQ(RunKit("check " + ShellQuoted(scratch.root / "Hop")).exitCode, 0);

    const fs::path cafe = scratch.root / "Cafe";
    const KitRun laidOut = RunKit(NewArguments(cafe, "Caf\xC3\xA9 Rush") + " --file-name Rush");
    ASSERT_EQ(laidOut.exitCode, 0) << laidOut.output;
    EXPECT_EQ(ReadText(cafe / "MAW_002.dat"), "Application Name=Caf\xE9 Rush" + settings);
    EXPECT_TRUE(fs::exists(cafe / "Rush.exe"));
    const std::string cafeInstaller = "installer " + ShellQuoted(cafe) + " --out ";
    ASSERT_EQ(RunKit(cafeInstaller + ShellQuoted(scratch.root / "plain.exe")).exitCode, 0);

    // Litter that does not compress: packed, it would grow the installer by its whole size.
    std::string noise(200000, '\0');
    for (size_t i = 0, x = 12345; i < noise.size(); ++i, x = x * 1103515245 + 12345)
        noise[i] = static_cast<char>(x >> 16);
    WriteText(cafe / "Thumbs.db", noise);
    WriteText(cafe / "Rush.pdb", noise);
    const KitRun litter = RunKit(cafeInstaller + ShellQuoted(scratch.root / "litter.exe"));
    ASSERT_EQ(litter.exitCode, 0) << litter.output;
    EXPECT_NE(litter.output.find("4 warning(s)"), std::string::npos) << litter.output;
    EXPECT_LT(fs::file_size(scratch.root / "litter.exe"), fs::file_size(scratch.root / "plain.exe") + 4096);
    // The title on the installer's own version information, in UTF-16 as Windows shows it.
    std::string shown;
    for (char c : std::string("Caf\xE9 Rush Setup"))
        shown += std::string(1, c) + '\0';
    EXPECT_NE(ReadText(scratch.root / "litter.exe").find(shown), std::string::npos);
}

}  // namespace

namespace {

// The script the kit hands makensis, kept by a stand-in for it.
std::string ScriptOf(const Scratch& scratch, const fs::path& game, const std::string& more = "")
{
    const fs::path makensis = scratch.root / "makensis";
    WriteText(makensis, "#!/bin/sh\nfor last; do :; done\ncp \"$last\" \"$(dirname \"$0\")/kept.nsi\"\nexit 1\n");
    fs::permissions(makensis, fs::perms::owner_all);
    fs::remove(scratch.root / "kept.nsi");
    RunKit("installer " + ShellQuoted(game) + " --out " + ShellQuoted(scratch.root / "setup.exe") + " --makensis " +
           ShellQuoted(makensis) + more);
    return ReadText(scratch.root / "kept.nsi");
}

}  // namespace

TEST(ShellkitInstaller, TheScriptIsMarkedUtf8NamesTheShellsIdAndShowsTheShellsIconForAGameImageWithout)
{
    Scratch scratch;
    const fs::path game = scratch.root / "Cafe";
    ASSERT_EQ(RunKit(NewArguments(game, "Caf\xC3\xA9 Rush") + " --file-name Rush --publisher 'acme games, inc.'").exitCode, 0);
    std::string script = ScriptOf(scratch, game);
    EXPECT_EQ(script.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(script.find("\nName \"Caf\xC3\xA9 Rush\"\n"), std::string::npos);
    EXPECT_NE(script.find("\nManifestDPIAware true\n"), std::string::npos);
    EXPECT_NE(script.find("\n!define APP_USER_MODEL_ID \"AcmeGamesInc.Game1001\"\n!define APP_ID_LENGTH 22\n"),
              std::string::npos);
    EXPECT_NE(script.find("DisplayIcon \"$INSTDIR\\Rush.MWG,0\"\n"), std::string::npos);
    // A publisher given to the installer alone is one the shell cannot know: the ID stays the settings'.
    EXPECT_NE(ScriptOf(scratch, game, " --publisher Other").find("APP_USER_MODEL_ID \"AcmeGamesInc.Game1001\""),
              std::string::npos);

    fs::copy_file(WindowsBin("arcade_probe.exe"), game / "Rush.MWG", fs::copy_options::overwrite_existing);
    script = ScriptOf(scratch, game);
    EXPECT_NE(script.find("DisplayIcon \"$INSTDIR\\Rush.exe,0\"\n"), std::string::npos) << "no icon of the game's";
    EXPECT_NE(script.find("CreateShortCut $R3 \"$INSTDIR\\Rush.exe\" \"\" \"$INSTDIR\\Rush.exe\" 0\n"), std::string::npos);
    Replace("Rush.exe", WIN64_BIN "/shell.exe")(game);
    Replace("Rush.MWG", WIN64_BIN "/demo-game.exe")(game);
    Arcade(WIN64_BIN "/MorvessaArcade.dll")(game);
    EXPECT_EQ(ScriptOf(scratch, game).find("Target amd64-unicode\n"), 3u) << "an x64 shell, an x64 setup";
}
