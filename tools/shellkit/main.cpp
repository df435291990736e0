#include <cstdio>
#include <cstring>

#include "commands.h"

namespace {

const char USAGE[] =
    "shellkit: lays out, checks and packages a game folder for the game shell\n"
    "  shellkit new FOLDER --name TITLE [--file-name NAME] --app-id N --channel N --game GAME.exe\n"
    "                      --background PICTURE.jpg --arcade MorvessaArcade.dll [--shell shell.exe] [--publisher NAME]\n"
    "  shellkit check FOLDER\n"
    "  shellkit installer FOLDER --out SETUP.exe [--publisher NAME] [--version X.Y.Z]\n"
    "                      [--sign CERT.pfx (--sign-password-file F | --sign-password-env VAR) | --sign-command CMD]\n"
    "                      [--timestamp URL] [--makensis PATH]\n"
    "  shellkit arcade MorvessaArcade.dll [--app-id N --name TEXT --channel N] [--frames N] [--sessions N]\n"
    "                      [--pictures DIR]   (Windows builds: runs the DLL as the shell does)\n"
    "exit codes: 0 done, 1 errors found (nothing made), 2 could not run\n"
    "the report goes to standard output, why a command could not run to standard error\n";

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs(USAGE, stderr);
        return 2;
    }
    const char* command = argv[1];
    if (std::strcmp(command, "new") == 0)
        return RunNew(argc - 2, argv + 2);
    if (std::strcmp(command, "check") == 0)
        return RunCheck(argc - 2, argv + 2);
    if (std::strcmp(command, "installer") == 0)
        return RunInstaller(argc - 2, argv + 2);
    if (std::strcmp(command, "arcade") == 0)
        return RunArcade(argc - 2, argv + 2);
    if (std::strcmp(command, "--help") == 0 || std::strcmp(command, "help") == 0) {
        std::fputs(USAGE, stdout);
        return 0;
    }
    std::fprintf(stderr, "shellkit: unknown command \"%s\"\n%s", command, USAGE);
    return 2;
}
