#pragma once

// A game folder as the shell opens it, and the shell window's fixed client size: the shell and
// the publisher kit both read them from here. Paths are relative to the shell's folder.
const char SETTINGS_FILE_NAME[] = "MAW_002.dat";
const char BACKGROUND_FILE_NAME[] = "Background.jpg";
const char ARCADE_FOLDER_NAME[] = "MorvessaArcade";
const char ARCADE_DLL_NAME[] = "MorvessaArcade.dll";
// The game is the shell's own file name with its last three characters replaced by these.
const char GAME_IMAGE_SUFFIX[] = "MWG";
const int GAME_SUFFIX_LENGTH = sizeof(GAME_IMAGE_SUFFIX) - 1;

const int CLIENT_WIDTH = 720;
const int CLIENT_HEIGHT = 540;
