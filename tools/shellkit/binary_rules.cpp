#include <algorithm>
#include <cstring>

#include "arcade/arcade_exports.h"
#include "code_page.h"
#include "export_spelling.h"
#include "file_system.h"
#include "host/settings_value.h"
#include "pe_image.h"
#include "rules.h"
#include "host/game_folder.h"

namespace {

const char INIT_FAILURE[] = "the shell ends with \"There was an error initializing the application. It will now exit.\"";

// Windows' installer detection asks for administrator rights before it starts a 32-bit
// program without a manifest whose file name holds one of these.
const char* InstallerWord(const std::string& name)
{
    static const char* const words[] = {"instal", "setup", "update", "patch"};
    const std::string lower = Lowercase(name);
    for (const char* word : words)
        if (lower.find(word) != std::string::npos)
            return word;
    return nullptr;
}

bool ReadImage(const std::string& path, const std::string& shown, const char* what, PeImage& image, Report& report,
               std::vector<uint8_t>& bytes)
{
    if (!ReadWholeFile(path, bytes)) {
        report.Error(shown, 0, std::string(PathExists(path) ? "cannot be read" : "missing") + ": " + what);
        return false;
    }
    std::string problem;
    if (!image.Read(bytes, problem)) {
        report.Error(shown, 0, problem + ": " + what);
        return false;
    }
    return true;
}

}  // namespace

std::string FileNameProblem(const std::string& name)
{
    if (name.empty())
        return "the file name is empty";
    for (char c : name) {
        if (c < 0x20 || c > 0x7E)
            return "the file name holds a character outside printable ASCII: the shell finds its game by its own "
                   "file name in the ANSI code page, which differs from one Windows to another";
        if (std::strchr("\\/:*?\"<>|", c) != nullptr)
            return std::string("the file name holds \"") + c + "\", which a Windows file name cannot hold";
    }
    if (name.back() == ' ' || name.back() == '.')
        return "the file name ends in a space or a dot, which Windows drops from file names";
    static const char* const devices[] = {"con", "prn", "aux", "nul", "com1", "com2", "com3", "com4", "com5",
                                          "com6", "com7", "com8", "com9", "lpt1", "lpt2", "lpt3", "lpt4", "lpt5",
                                          "lpt6", "lpt7", "lpt8", "lpt9"};
    for (const char* device : devices)
        if (Lowercase(name) == device)
            return "\"" + name + "\" is a device name on Windows, not a file name";
    return "";
}

bool IsShellImage(const std::vector<uint8_t>& bytes)
{
    static const char marker[] = "MorvessaWrapperRunningMutex";
    return std::search(bytes.begin(), bytes.end(), marker, marker + sizeof(marker) - 1) != bytes.end();
}

uint16_t CheckExecutables(const std::string& folder, const std::string& shown, const std::string& name,
                          Report& report)
{
    PeImage game;
    std::vector<uint8_t> bytes;
    const std::string gameShown = report.SourceOf(JoinPath(shown, name + "." + GAME_IMAGE_SUFFIX));
    if (ReadImage(JoinPath(folder, name + "." + GAME_IMAGE_SUFFIX), gameShown, "the game must be a Windows program", game, report,
                  bytes)) {
        if (IsShellImage(bytes))
            report.Error(gameShown, 0, "a copy of the shell, not the game: started as the game it finds the shell "
                                       "running, and the player sees \"You currently have another game running.\" "
                                       "and the closing screen, never a game");
        else if (game.isDll)
            report.Error(gameShown, 0, "a DLL, not a program: the shell cannot start it");
        else if (game.machine != MACHINE_I386 && game.machine != MACHINE_AMD64)
            report.Error(gameShown, 0, std::string("built for ") + MachineName(game.machine) +
                                           ": it does not start on the players' x86 and x64 Windows");
        const char* word = InstallerWord(name);
        if (word != nullptr && game.machine == MACHINE_I386 && !ManifestRunsAsInvoker(game.manifest))
            report.Warning(gameShown, 0, std::string("the name holds \"") + word +
                                             "\" and the game has no manifest that runs it as the invoker: Windows "
                                             "asks for administrator rights before it starts; give the game one");
        if (!game.hasIcon)
            report.Warning(gameShown, 0, "the game has no icon: its shortcuts and its uninstall entry show the shell's");
    }

    PeImage shell;
    const std::string shellShown = report.SourceOf(JoinPath(shown, name + ".exe"));
    if (!ReadImage(JoinPath(folder, name + ".exe"), shellShown,
                   ("the shell must lie beside the game, named like it: " + name + ".exe").c_str(), shell, report,
                   bytes))
        return 0;
    if (shell.isDll) {
        report.Error(shellShown, 0, "a DLL, not the shell");
        return 0;
    }
    if (!ManifestRunsAsInvoker(shell.manifest))
        report.Warning(shellShown, 0, "no manifest that runs it as the invoker: an older shell; Windows may ask for "
                                      "administrator rights before it starts; take the shell from this kit");
    return shell.machine;
}

void CheckArcadeDll(const std::string& dll, const std::string& dllShown, uint16_t shellMachine, Report& report,
                    const char* consequence)
{
    PeImage image;
    std::vector<uint8_t> bytes;
    if (!ReadImage(dll, dllShown, consequence, image, report, bytes))
        return;
    if (!image.isDll)
        report.Error(dllShown, 0, std::string("a program, not a DLL: ") + consequence);
    else if (shellMachine != 0 && image.machine != shellMachine)
        report.Error(dllShown, 0, std::string("built for ") + MachineName(image.machine) + ", the shell for " +
                                      MachineName(shellMachine) + ": " + consequence);
    if (!image.isDll)
        return;
    std::vector<std::string> missing = MissingArcadeExports(image);
    for (const std::string& line : OtherSpellings(image, missing, consequence))
        report.Error(dllShown, 0, line);
    for (const std::string& name : missing)
        report.Error(dllShown, 0, "lacks the export \"" + name + "\": " + consequence);
}

void CheckArcadeLayer(const std::string& folder, const std::string& shown, uint16_t shellMachine, Report& report)
{
    const std::string arcade = JoinPath(folder, ARCADE_FOLDER_NAME);
    const std::string arcadeShown = JoinPath(shown, ARCADE_FOLDER_NAME);
    const std::string dll = JoinPath(arcade, ARCADE_DLL_NAME);
    const std::string dllShown = report.SourceOf(JoinPath(arcadeShown, ARCADE_DLL_NAME));
    const int errors = report.errors;
    CheckArcadeDll(dll, dllShown, shellMachine, report, INIT_FAILURE);
    // The vendor's signature is kept by the installer; without one the DLL goes out in the publisher's name.
    std::vector<uint8_t> bytes;
    PeImage image;
    std::string problem;
    if (report.errors == errors && ReadWholeFile(dll, bytes) && image.Read(bytes, problem) && !image.hasCertificateTable)
        report.Warning(dllShown, 0, "has no signature: Smart App Control blocks an unsigned DLL and antivirus "
                                    "programs distrust one; the installer signs it in your name; ask the arcade's "
                                    "vendor for a signed build");

    const std::string backup = JoinPath(arcade, "Backup");
    if (!IsFolder(backup)) {
        if (IsFolder(arcade))
            report.Error(JoinPath(arcadeShown, "Backup"), 0, "missing: a failed update of the arcade layer cannot be "
                                                             "rolled back, and the player is asked to reinstall");
        return;
    }
    std::vector<FolderEntry> files;
    ListShippedFiles(arcade, files);
    for (const FolderEntry& file : files) {
        // The DLL's own records: a failed update deletes them rather than restoring them.
        if (file.relativePath.find(PATH_SEPARATOR) != std::string::npos || file.relativePath == "Application.dat" ||
            file.relativePath == "Channel.dat")
            continue;
        const std::string copy = JoinPath(backup, file.relativePath);
        std::vector<uint8_t> original;
        std::vector<uint8_t> kept;
        const bool isDll = file.relativePath == ARCADE_DLL_NAME;
        if (!ReadWholeFile(copy, kept)) {
            const std::string text = "no copy in Backup\\: an update that replaces it cannot be rolled back";
            if (isDll)
                report.Error(JoinPath(arcadeShown, file.relativePath), 0, text);
            else
                report.Warning(JoinPath(arcadeShown, file.relativePath), 0, text);
        } else if (ReadWholeFile(JoinPath(arcade, file.relativePath), original) && original != kept) {
            report.Warning(JoinPath(JoinPath(arcadeShown, "Backup"), file.relativePath), 0,
                           "differs from the file it backs up: a rollback brings back another version");
        }
    }
}

namespace {

// What breaks when a file the shell or Windows must open lies past the limit; "" for the
// game's own files, which the game may open its own way.
std::string WhatBreaks(const std::string& relative, const std::string& name)
{
    if (relative == name + ".exe")
        return "Windows cannot start it, so the game does not start";
    if (relative == name + "." + GAME_IMAGE_SUFFIX)
        return "the shell cannot start the game";
    if (relative == SETTINGS_FILE_NAME)
        return "the shell stops with \"Could not get file size\"";
    if (relative == BACKGROUND_FILE_NAME)
        return "the closing screen has no picture behind it";
    if (relative == "MorvessaArcade\\MorvessaArcade.dll")
        return std::string("the arcade DLL does not load: ") + INIT_FAILURE;
    if (relative.compare(0, 15, "MorvessaArcade\\") == 0)
        return "the arcade layer cannot open it, nor an update replace it";
    return "";
}

}  // namespace

void CheckInstalledPaths(const std::vector<FolderEntry>& files, const std::string& shown, const std::string& name,
                         const std::string& publisher, uint16_t shellMachine, Report& report)
{
    const std::string publisherFolder = PublisherFolderName(publisher, name);
    const std::string above = publisherFolder.empty() ? "" : publisherFolder + "\\";
    const std::string perUser = "C:\\Users\\" + std::string(ACCOUNT_NAME_LENGTH, 'A') + "\\AppData\\Local\\Programs\\" + above;
    const std::string perUserShown = "C:\\Users\\<a " + std::to_string(ACCOUNT_NAME_LENGTH) +
                                     "-character account>\\AppData\\Local\\Programs\\" + above + name + "\\";
    const std::string perMachine =
        std::string(shellMachine == MACHINE_AMD64 ? "C:\\Program Files\\" : "C:\\Program Files (x86)\\") + above + name + "\\";
    for (const FolderEntry& file : files) {
        std::string relative = file.relativePath;
        std::replace(relative.begin(), relative.end(), '/', '\\');
        const size_t length = perUser.size() + name.size() + 1 + relative.size();
        if (length <= PATH_LIMIT)
            continue;
        const size_t machineLength = perMachine.size() + relative.size();
        const std::string text = "installed for one player, in \"" + perUserShown + "\", its path is " +
                                 std::to_string(length) + " characters long, over the " + std::to_string(PATH_LIMIT) +
                                 " Windows can open (for all users, in \"" + perMachine + "\": " +
                                 std::to_string(machineLength) + ")";
        const std::string breaks = WhatBreaks(relative, name);
        if (breaks.empty()) {
            report.Warning(JoinPath(shown, file.relativePath), 0, text + ": the game must open it by a long path");
            continue;
        }
        // NAME.exe and NAME.MWG hold the name twice: in their folder's name and their own.
        const size_t uses = relative == name + ".exe" || relative == name + "." + GAME_IMAGE_SUFFIX ? 2 : 1;
        const size_t cut = (length - PATH_LIMIT + uses - 1) / uses;
        report.Error(JoinPath(shown, file.relativePath), 0, text + ": " + breaks + "; cut " + std::to_string(cut) +
                                                             " character(s) from the file name");
    }
}
