#include <cstdio>

#include "arguments.h"
#include "commands.h"
#include "file_system.h"
#include "host/settings_value.h"
#include "process.h"
#include "rules.h"

namespace {

int Refuse(const std::string& text)
{
    std::fprintf(stderr, "shellkit new: %s\n", text.c_str());
    return 1;
}

// The shell beside this program, or the shipping build's beside a native build of it.
std::string DefaultShell()
{
    const std::string here = ProgramFolder();
    const std::string beside = JoinPath(here, "shell.exe");
    if (PathExists(beside))
        return beside;
    return JoinPath(here, "../../win32/bin/shell.exe");
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
        error = PathExists(from) ? "cannot copy " + from + " into " + folder : from + ": no such file";
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
                         {"--shell", "--publisher"}, error)) {
        std::fprintf(stderr, "shellkit new: %s\nusage: shellkit new FOLDER --name NAME --app-id N --channel N "
                             "--game GAME.exe --background PICTURE.jpg --arcade MorvessaArcade.dll "
                             "[--shell shell.exe] [--publisher NAME]\n", error.c_str());
        return 2;
    }
    const std::string name = arguments.Get("--name");
    const std::string problem = NameProblem(name);
    if (!problem.empty())
        return Refuse("--name \"" + name + "\": " + problem);
    for (const char* flag : {"--app-id", "--channel"}) {
        const std::string numberProblem = NumberProblem(arguments.Get(flag));
        if (!numberProblem.empty())
            return Refuse(std::string(flag) + " " + numberProblem);
    }
    const std::string publisher = arguments.Get("--publisher");
    for (char c : publisher)
        if (static_cast<unsigned char>(c) < 0x20)
            return Refuse("--publisher holds a control character");
    const std::string folder = arguments.folder;
    if (PathExists(folder))
        return Refuse(folder + " exists already: new lays out a folder of its own");
    const std::string parent = ParentOf(AbsolutePath(folder));
    if (!IsFolder(parent))
        return Refuse("no folder " + parent + " to lay out " + LastComponent(folder) + " in");

    char settings[1024];
    const size_t length = WriteSettingsText(settings, sizeof(settings), name.c_str(),
                                            ParseSettingNumber(arguments.Get("--app-id").c_str()),
                                            ParseSettingNumber(arguments.Get("--channel").c_str()));
    std::string settingsText(settings, length);
    if (!publisher.empty())
        settingsText += PUBLISHER_KEY + publisher + "\r\n";

    // Laid out beside its place and moved there whole once it passes the checks, so that
    // a failure leaves nothing behind.
    Layout layout{TemporarySibling(AbsolutePath(folder)), ""};
    if (!MakeFolder(layout.folder))
        return Refuse("cannot write in " + parent);
    layout.Copy(arguments.Get("--shell", DefaultShell()), name + ".exe");
    layout.Copy(arguments.Get("--game"), name + ".MWG");
    layout.Copy(arguments.Get("--background"), "Background.jpg");
    layout.Folder("MorvessaArcade");
    layout.Folder(JoinPath("MorvessaArcade", "Backup"));
    layout.Copy(arguments.Get("--arcade"), JoinPath("MorvessaArcade", "MorvessaArcade.dll"));
    layout.Copy(arguments.Get("--arcade"), JoinPath(JoinPath("MorvessaArcade", "Backup"), "MorvessaArcade.dll"));
    layout.Write("MAW_002.dat", settingsText);
    if (!layout.error.empty()) {
        RemoveTree(layout.folder);
        return Refuse(layout.error + "; nothing was written");
    }

    Report report;
    SettingsReading reading;
    std::string gameName;
    CheckFolder(layout.folder, folder, report, reading, gameName);
    if (report.errors > 0) {
        RemoveTree(layout.folder);
        return Refuse("the folder would have " + std::to_string(report.errors) + " error(s); nothing was written");
    }
    if (!RenamePath(layout.folder, folder)) {
        RemoveTree(layout.folder);
        return Refuse("cannot make " + folder + "; nothing was written");
    }
    std::printf("%s: laid out for \"%s\" (%d warning(s))\n", folder.c_str(), name.c_str(), report.warnings);
    return 0;
}
