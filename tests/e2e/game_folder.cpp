#include "game_folder.h"

#include <windows.h>

#include "demo_game_control.h"

GameFolder::GameFolder(const std::string& gameName)
{
    shellPath = File(gameName + ".exe");
    CopyFileTo(ProgramFolder() + "shell.exe", shellPath);
    CopyFileTo(ProgramFolder() + "demo-game.exe", File(gameName + ".MWG"));
    CreateDirectoryA(File("MorvessaArcade").c_str(), nullptr);
    CopyFileTo(ProgramFolder() + "MorvessaArcade.dll", File("MorvessaArcade\\MorvessaArcade.dll"));
}
