#pragma once

// Turns the shell's module path into the game image's file name, in place: the folders
// are dropped (either kind of separator) and the last three characters become "MWG".
// "C:\Games\Puzzle\Puzzle.exe" gives "Puzzle.MWG". A name shorter than three characters
// is left as it is.
void MakeGameImageName(char* path);
