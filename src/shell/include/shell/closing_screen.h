#pragma once
#include <cstdint>

// What the closing screen shows and where, for the shell that draws it and for the publisher
// kit that checks that a game's name leaves room for it.

const char CLOSING_SCREEN_TEXT[] =
    "Thank you for playing the Full Version of [GAME_TITLE]. \n \nPlease visit our website to evaluate other great "
    "games. \n \nThis window will automaticaly close in [TIME_TO_CLOSE] Seconds.";

// The text column: the title, its separator and then the body, stacked from the top.
const int CLOSING_TEXT_LEFT = 460;
const int CLOSING_TEXT_TOP = 30;
const int CLOSING_TEXT_WIDTH = 230;
const int CLOSING_TITLE_POINTS = 14;
const int CLOSING_BODY_POINTS = 10;

const int PLAY_GAME_BUTTON_LEFT = 460;
const int OTHER_GAMES_BUTTON_LEFT = 587;
const int CLOSING_BUTTONS_TOP = 472;
