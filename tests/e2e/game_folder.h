#pragma once
#include <string>

#include "temp_folder.h"

// A game folder as a publisher ships it: the shell renamed after the game, the demo game as
// its game image, the reference arcade DLL, and (when given) the settings file.
struct GameFolder : TempFolder {
    std::string shellPath;
    explicit GameFolder(const std::string& gameName = "Puzzle");
    void WriteSettings(const std::string& text) const { Write("MAW_002.dat", text); }
    // The reference DLL's test settings ("key=value" lines).
    void WriteArcadeSettings(const std::string& text) const { Write("MorvessaArcade\\ArcadeTest.txt", text); }
};
