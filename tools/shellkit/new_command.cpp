#include <cstdio>

#include "arguments.h"
#include "code_page.h"
#include "commands.h"
#include "file_system.h"
#include "host/settings_value.h"
#include "pe_image.h"
#include "process.h"
#include "rules.h"
#include "host/game_folder.h"

namespace {

int Refuse(const std::string& text)
{
    std::printf("shellkit new: %s\n", text.c_str());
    return 1;
}

int CannotRun(const std::string& text)
{
    std::fprintf(stderr, "shellkit new: %s\n", text.c_str());
    return 2;
}

// The shell beside this program, or the shipping build's beside a native build of it; "" when
// neither is there.
std::string DefaultShell()
{
    const std::string here = ProgramFolder();
    for (const std::string& shell : {JoinPath(here, "shell.exe"), JoinPath(here, "../../win32/bin/shell.exe")})
        if (PathExists(shell))
            return shell;
    return "";
}

uint16_t MachineOf(const std::string& program)
{
    std::vector<uint8_t> bytes;
    PeImage image;
    std::string problem;
    return ReadWholeFile(program, bytes) && image.Read(bytes, problem) ? image.machine : 0;
}

// The title as the shell will read it: Windows-1252 bytes.
bool TitleFromArgument(const std::string& argument, std::string& title, std::string& problem)
{
    std::vector<uint32_t> codePoints;
    if (!ArgumentCodePoints(argument, codePoints)) {
        problem = "is not text in this system's encoding";
        return false;
    }
    if (!Windows1252FromCodePoints(codePoints, title)) {
        problem = "holds a character that Windows-1252, the code page the title is saved in, does not have";
        return false;
    }
    return true;
}

struct Layout {
    std::string folder;
    std::string error;

    bool Copy(const std::string& from, const std::string& to)
    {
        if (!error.empty())
            return false;
        if (!IsFolder(from) && CopyOneFile(from, JoinPath(folder, to)))
            return true;
        error = !PathExists(from) ? from + ": no such file" : IsFolder(from) ? from + ": a folder, not a file"
                                                                             : "cannot copy " + from + " into " + folder;
        return false;
    }
    bool Folder(const std::string& name)
    {
        if (error.empty() && !MakeFolder(JoinPath(folder, name)))
            error = "cannot make a folder in " + folder;
        return error.empty();
    }
    bool Write(const std::string& name, const std::string& text)
    {
        if (error.empty() && !WriteWholeFile(JoinPath(folder, name), std::vector<uint8_t>(text.begin(), text.end())))
            error = "cannot write " + JoinPath(folder, name);
        return error.empty();
    }
};

}  // namespace

int RunNew(int argc, char** argv)
{
    Arguments arguments;
    std::string error;
    if (!arguments.Parse(argc, argv, {"--name", "--app-id", "--channel", "--game", "--background", "--arcade"},
                         {"--file-name", "--shell", "--publisher"}, error)) {
        std::fprintf(stderr, "shellkit new: %s\nusage: shellkit new FOLDER --name TITLE [--file-name NAME] --app-id N "
                             "--channel N --game GAME.exe --background PICTURE.jpg --arcade MorvessaArcade.dll "
                             "[--shell shell.exe] [--publisher NAME]\n", error.c_str());
        return 2;
    }
    const std::string given = arguments.Get("--name");
    std::string title;
    std::string problem;
    if (!TitleFromArgument(given, title, problem))
        return Refuse("--name \"" + given + "\" " + problem);
    const std::string name = arguments.Get("--file-name", FileNameFromTitle(title, true));
    problem = FileNameProblem(name);
    if (!problem.empty())
        return Refuse((arguments.Has("--file-name") ? "--file-name \"" + name + "\": "
                                                    : "--name \"" + given + "\" gives the file name \"" + name + "\": ") +
                      problem + (arguments.Has("--file-name") ? "" : "; choose one with --file-name"));
    for (const char* flag : {"--app-id", "--channel"}) {
        const std::string numberProblem = NumberProblem(arguments.Get(flag));
        if (!numberProblem.empty())
            return Refuse(std::string(flag) + " " + numberProblem);
    }
    const std::string publisher = arguments.Get("--publisher");
    for (char c : publisher)
        if (static_cast<unsigned char>(c) < 0x20)
            return Refuse("--publisher holds a control character");
    const std::string shell = arguments.Get("--shell", DefaultShell());
    if (shell.empty())
        return CannotRun("no shell.exe beside shellkit, nor in the shipping build's folder beside it: name the shell "
                         "with --shell PATH");
    const std::string folder = arguments.folder;
    if (PathExists(folder))
        return CannotRun(folder + " exists already: new lays out a folder of its own");
    const std::string parent = ParentOf(AbsolutePath(folder));
    if (!IsFolder(parent))
        return CannotRun("no folder " + parent + " to lay out " + LastComponent(folder) + " in");

    // Paths that cannot fit on a player's machine are refused before anything is made: a name
    // that long may not even fit this machine's file system.
    Report report;
    std::vector<FolderEntry> planned;
    for (const std::string& file : {name + ".exe", name + "." + GAME_IMAGE_SUFFIX, std::string(SETTINGS_FILE_NAME), std::string(BACKGROUND_FILE_NAME),
                                    JoinPath(ARCADE_FOLDER_NAME, ARCADE_DLL_NAME),
                                    JoinPath(JoinPath(ARCADE_FOLDER_NAME, "Backup"), ARCADE_DLL_NAME)})
        planned.push_back({file, 0});
    CheckInstalledPaths(planned, folder, name, arguments.Get("--publisher", ""), MachineOf(shell), report);
    if (report.errors > 0)
        return Refuse("the folder would have " + std::to_string(report.errors) + " error(s); nothing was written");

    char settings[1024];
    const size_t length = WriteSettingsText(settings, sizeof(settings), title.c_str(),
                                            ParseSettingNumber(arguments.Get("--app-id").c_str()),
                                            ParseSettingNumber(arguments.Get("--channel").c_str()));
    std::string settingsText(settings, length);
    if (!publisher.empty())
        settingsText += PUBLISHER_KEY + publisher + "\r\n";

    // Laid out beside its place and moved there whole once it passes the checks, so that
    // a failure leaves nothing behind.
    Layout layout{TemporarySibling(AbsolutePath(folder)), ""};
    if (!MakeFolder(layout.folder))
        return CannotRun("cannot write in " + parent);
    const std::string dll = JoinPath(ARCADE_FOLDER_NAME, ARCADE_DLL_NAME);
    const std::string copies[][2] = {{shell, name + ".exe"},
                                     {arguments.Get("--game"), name + "." + GAME_IMAGE_SUFFIX},
                                     {arguments.Get("--background"), BACKGROUND_FILE_NAME},
                                     {arguments.Get("--arcade"), dll}};
    layout.Folder(ARCADE_FOLDER_NAME);
    layout.Folder(JoinPath(ARCADE_FOLDER_NAME, "Backup"));
    for (const auto& copy : copies)
        layout.Copy(copy[0], copy[1]);
    layout.Copy(arguments.Get("--arcade"), JoinPath(JoinPath(ARCADE_FOLDER_NAME, "Backup"), ARCADE_DLL_NAME));
    layout.Write(SETTINGS_FILE_NAME, settingsText);
    if (!layout.error.empty()) {
        RemoveTree(layout.folder);
        return CannotRun(layout.error + "; nothing was written");
    }

    for (const auto& copy : copies)
        report.sources[JoinPath(folder, copy[1])] = copy[0];
    SettingsReading reading;
    std::string gameName;
    CheckFolder(layout.folder, folder, report, reading, gameName);
    if (report.errors > 0) {
        RemoveTree(layout.folder);
        return Refuse("the folder would have " + std::to_string(report.errors) + " error(s); nothing was written");
    }
    if (!RenamePath(layout.folder, folder)) {
        RemoveTree(layout.folder);
        return CannotRun("cannot make " + folder + "; nothing was written");
    }
    const std::string files = name == given ? "" : " as " + name + ".exe";
    std::printf("%s: laid out for \"%s\"%s (%d warning(s))\n", folder.c_str(), given.c_str(), files.c_str(),
                report.warnings);
    return 0;
}
