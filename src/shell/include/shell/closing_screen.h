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

// Lays out one text of the column at y and returns the height it took; the shell draws, the kit
// measures.
struct ClosingColumn {
    virtual uint32_t Text(const char* text, int points, int y) = 0;
    virtual uint32_t Separator(int y) = 0;

protected:
    ~ClosingColumn() = default;
};

// The title and its separator at y; returns their height.
inline uint32_t StackTitleBlock(ClosingColumn& column, const char* name, int y)
{
    const uint32_t title = column.Text(name, CLOSING_TITLE_POINTS, y);
    return title + column.Separator(y + static_cast<int>(title));
}

// The whole column from its top; returns the body's bottom edge.
inline uint32_t StackClosingColumn(ClosingColumn& column, const char* name)
{
    const int bodyTop = CLOSING_TEXT_TOP + static_cast<int>(StackTitleBlock(column, name, CLOSING_TEXT_TOP));
    return static_cast<uint32_t>(bodyTop) + column.Text(CLOSING_SCREEN_TEXT, CLOSING_BODY_POINTS, bodyTop);
}

const int PLAY_GAME_BUTTON_LEFT = 460;
const int OTHER_GAMES_BUTTON_LEFT = 587;
const int CLOSING_BUTTONS_TOP = 472;
