#include <cctype>
#include <cstring>

#include "arcade/arcade_exports.h"
#include "file_system.h"
#include "host/settings_value.h"
#include "pe_image.h"
#include "rules.h"

namespace {

const char INIT_FAILURE[] = "the shell ends with \"There was an error initializing the application. It will now exit.\"";

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Windows' installer detection asks for administrator rights before it starts a 32-bit
// program without a manifest whose file name holds one of these.
const char* InstallerWord(const std::string& name)
{
    static const char* const words[] = {"instal", "setup", "update", "patch"};
    const std::string lower = Lower(name);
    for (const char* word : words)
        if (lower.find(word) != std::string::npos)
            return word;
    return nullptr;
}

bool ReadImage(const std::string& path, const std::string& shown, const char* what, PeImage& image, Report& report)
{
    std::vector<uint8_t> bytes;
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

std::string NameProblem(const std::string& name)
{
    if (name.empty())
        return "the name is empty";
    if (name.size() > APPLICATION_NAME_SIZE - 1)
        return "the name is " + std::to_string(name.size()) + " characters long; the shell keeps only 254";
    for (char c : name) {
        if (c < 0x20 || c > 0x7E)
            return "the name holds a character outside printable ASCII: the shell reads its settings as ANSI text, "
                   "and the game's file names must read alike on every Windows";
        if (std::strchr("\\/:*?\"<>|", c) != nullptr)
            return std::string("the name holds \"") + c + "\", which a Windows file name cannot hold";
    }
    if (name.back() == ' ' || name.back() == '.')
        return "the name ends in a space or a dot, which Windows drops from file names";
    static const char* const devices[] = {"con", "prn", "aux", "nul", "com1", "com2", "com3", "com4", "com5",
                                          "com6", "com7", "com8", "com9", "lpt1", "lpt2", "lpt3", "lpt4", "lpt5",
                                          "lpt6", "lpt7", "lpt8", "lpt9"};
    for (const char* device : devices)
        if (Lower(name) == device)
            return "\"" + name + "\" is a device name on Windows, not a file name";
    for (const char* key : {APPLICATION_NAME_KEY, APPLICATION_ID_KEY, DEVELOPER_CHANNEL_ID_KEY})
        if (name.find(key) != std::string::npos)
            return std::string("the name holds the settings key \"") + key + "\": the shell would read that key from it";
    for (const char* placeholder : {"[TIME_TO_CLOSE]", "[GAME_TITLE]"})
        if (name.find(placeholder) != std::string::npos)
            return std::string("the name holds \"") + placeholder + "\", which the closing screen replaces";
    return "";
}

uint16_t CheckExecutables(const std::string& folder, const std::string& shown, const std::string& name,
                          Report& report)
{
    PeImage game;
    const std::string gameShown = JoinPath(shown, name + ".MWG");
    if (ReadImage(JoinPath(folder, name + ".MWG"), gameShown, "the game must be a Windows program", game, report)) {
        if (game.isDll)
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
            report.Warning(gameShown, 0, "the game has no icon: its shortcuts and its uninstall entry show a blank one");
    }

    PeImage shell;
    const std::string shellShown = JoinPath(shown, name + ".exe");
    if (!ReadImage(JoinPath(folder, name + ".exe"), shellShown,
                   ("the shell must lie beside the game, named like it: " + name + ".exe").c_str(), shell, report))
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
    if (!ReadImage(dll, dllShown, consequence, image, report))
        return;
    if (!image.isDll)
        report.Error(dllShown, 0, std::string("a program, not a DLL: ") + consequence);
    else if (shellMachine != 0 && image.machine != shellMachine)
        report.Error(dllShown, 0, std::string("built for ") + MachineName(image.machine) + ", the shell for " +
                                      MachineName(shellMachine) + ": " + consequence);
    for (const char* name : ArcadeExportNames)
        if (image.isDll && !image.Exports(name))
            report.Error(dllShown, 0, std::string("lacks the export \"") + name + "\": " + consequence);
}

void CheckArcadeLayer(const std::string& folder, const std::string& shown, uint16_t shellMachine, Report& report)
{
    const std::string arcade = JoinPath(folder, "MorvessaArcade");
    const std::string arcadeShown = JoinPath(shown, "MorvessaArcade");
    const std::string dll = JoinPath(arcade, "MorvessaArcade.dll");
    const std::string dllShown = JoinPath(arcadeShown, "MorvessaArcade.dll");
    CheckArcadeDll(dll, dllShown, shellMachine, report, INIT_FAILURE);

    const std::string backup = JoinPath(arcade, "Backup");
    if (!IsFolder(backup)) {
        if (IsFolder(arcade))
            report.Error(JoinPath(arcadeShown, "Backup"), 0, "missing: a failed update of the arcade layer cannot be "
                                                             "rolled back, and the player is asked to reinstall");
        return;
    }
    std::vector<FolderEntry> files;
    ListFilesBelow(arcade, files);
    for (const FolderEntry& file : files) {
        // The DLL's own records: a failed update deletes them rather than restoring them.
        if (file.relativePath.find(PATH_SEPARATOR) != std::string::npos || file.relativePath == "Application.dat" ||
            file.relativePath == "Channel.dat")
            continue;
        const std::string copy = JoinPath(backup, file.relativePath);
        std::vector<uint8_t> original;
        std::vector<uint8_t> kept;
        const bool isDll = file.relativePath == "MorvessaArcade.dll";
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

void CheckInstalledPaths(const std::string& folder, const std::string& shown, const std::string& name,
                         Report& report)
{
    std::vector<FolderEntry> files;
    ListFilesBelow(folder, files);
    const std::string installed = std::string(TYPICAL_INSTALL_FOLDER) + name + "\\";
    for (const FolderEntry& file : files) {
        std::string windowsPath = installed + file.relativePath;
        for (char& c : windowsPath)
            c = c == '/' ? '\\' : c;
        if (windowsPath.size() <= PATH_LIMIT)
            continue;
        const bool isDll = windowsPath == installed + "MorvessaArcade\\MorvessaArcade.dll";
        const std::string text = "installed under \"" + installed + "\" its path is " +
                                 std::to_string(windowsPath.size()) + " characters long, over the 259 the shell can "
                                 "open" + (isDll ? ": the shell reports the arcade DLL as not loadable" : "");
        if (isDll)
            report.Error(JoinPath(shown, file.relativePath), 0, text + "; shorten the game's name");
        else
            report.Warning(JoinPath(shown, file.relativePath), 0, text);
    }
}
