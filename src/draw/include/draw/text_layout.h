#pragma once
#include <cstddef>
#include <cstdint>

// Templates and word wrapping without the platform: the caller supplies the measuring and
// the drawing, so this builds (and is fuzzed) natively too.

// A new heap string (free with std::free): text with the first occurrence of token
// replaced by value, or a copy of text when token does not occur.
char* ReplaceFirst(const char* text, const char* token, const char* value);

// The first occurrence of token that starts within the first n - 1 characters of text,
// or null. An empty token is found at text.
const char* FindInPrefix(const char* text, const char* token, uint32_t n);

// The countdown as a whole number of seconds, a half rounding up, whatever the C
// runtime's own rounding of "%.f" is.
void FormatCountdown(float seconds, char* buffer, size_t size);

// "[TIME_TO_CLOSE]", then "[GAME_TITLE]", each at its first occurrence only. A new heap
// string (free with std::free).
char* ExpandPlaceholders(const char* text, float countdown, const char* applicationName);

// The height of the block that the rule under a title takes.
const uint32_t SEPARATOR_BLOCK_HEIGHT = 9;

// Where wrapped lines are measured and drawn. `top` is the line's offset below the
// column's top edge.
struct WrapColumn {
    virtual ~WrapColumn() = default;
    // widths[i] = the width of the run's first i + 1 characters, for every i below length;
    // returns the height of a line of it.
    virtual uint32_t MeasurePrefixes(const char* run, uint32_t length, uint32_t* widths) = 0;
    virtual void DrawLine(const char* line, uint32_t length, uint32_t top) = 0;
};

// Lays out the first length characters of text in a column `width` wide, breaking after
// spaces and at "\n", and returns the height used. Each line is the longest prefix of what is
// left before the next "\n" that fits and ends after a space (or is a single word, or ends the
// text), measured once. An empty line (a leading "\n" or two in a row) draws nothing, is
// measured as its line break for its height and still advances; a column narrower than a
// character still takes one character per line.
uint32_t LayOutWrappedText(const char* text, uint32_t length, uint32_t width, WrapColumn& column);
