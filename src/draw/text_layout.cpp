#include "draw/text_layout.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

char* ReplaceFirst(const char* text, const char* token, const char* value)
{
    const char* found = std::strstr(text, token);
    if (found == nullptr) {
        const size_t size = std::strlen(text) + 1;
        char* copy = static_cast<char*>(std::malloc(size));
        std::memcpy(copy, text, size);
        return copy;
    }
    const size_t keep = static_cast<size_t>(found - text);
    const size_t valueLength = std::strlen(value);
    const char* rest = found + std::strlen(token);
    const size_t restSize = std::strlen(rest) + 1;
    char* result = static_cast<char*>(std::malloc(keep + valueLength + restSize));
    std::memcpy(result, text, keep);
    std::memcpy(result + keep, value, valueLength);
    std::memcpy(result + keep + valueLength, rest, restSize);
    return result;
}

const char* FindInPrefix(const char* text, const char* token, uint32_t n)
{
    if (token[0] == '\0')
        return text;
    const size_t tokenLength = std::strlen(token);
    for (uint32_t i = 0; text[i] != '\0' && i + 1 != n; ++i) {
        if (std::strncmp(text + i, token, tokenLength) == 0)
            return text + i;
    }
    return nullptr;
}

void FormatCountdown(float seconds, char* buffer, size_t size)
{
    // "%.f" rounds an exact half to even with glibc and away from zero with the Microsoft
    // runtime: a whole number leaves it nothing to round. The sum is exact in double.
    std::snprintf(buffer, size, "%.f", std::floor(static_cast<double>(seconds) + 0.5));
}

char* ExpandPlaceholders(const char* text, float countdown, const char* applicationName)
{
    char seconds[16];
    FormatCountdown(countdown, seconds, sizeof seconds);
    // The countdown goes in first, so a title that holds a placeholder is drawn as it is.
    char* withTime = ReplaceFirst(text, "[TIME_TO_CLOSE]", seconds);
    char* result = ReplaceFirst(withTime, "[GAME_TITLE]", applicationName);
    std::free(withTime);
    return result;
}

static uint32_t LengthToLineBreak(const char* text, uint32_t pos, uint32_t length)
{
    const void* lineBreak = std::memchr(text + pos, '\n', length - pos);
    if (lineBreak == nullptr)
        return length - pos;
    return static_cast<uint32_t>(static_cast<const char*>(lineBreak) - (text + pos));
}

// Whether the first k characters of a candidate end well: no space before their last character
// (a search that, like FindInPrefix, stops at a zero), or a space as their last character.
static bool EndsWell(const char* run, uint32_t k, uint32_t firstSpace)
{
    return firstSpace + 1 >= k || run[k - 1] == ' ';
}

// The longest prefix of the candidate run[0, n) that fits and ends well (or ends the text);
// one character when none does.
static uint32_t FitLine(const char* run, uint32_t n, bool endsText, uint32_t width, const uint32_t* widths)
{
    uint32_t firstSpace = n;
    for (uint32_t i = 0; i < n && run[i] != '\0'; ++i) {
        if (run[i] == ' ') {
            firstSpace = i;
            break;
        }
    }
    for (uint32_t k = n; k > 1; --k) {
        if (widths[k - 1] <= width && ((endsText && k == n) || EndsWell(run, k, firstSpace)))
            return k;
    }
    return 1;
}

uint32_t LayOutWrappedText(const char* text, uint32_t length, uint32_t width, WrapColumn& column)
{
    uint32_t* widths = nullptr;
    uint32_t room = 0;
    uint32_t lineAdvance = 0;
    uint32_t total = 0;
    uint32_t pos = 0;
    while (pos < length) {
        uint32_t n = LengthToLineBreak(text, pos, length);
        // An empty line is measured as its line break, for its height only.
        const uint32_t measured = n == 0 ? 1 : n;
        if (room < measured) {
            // Without the memory the layout ends here, with the lines it has.
            uint32_t* grown = static_cast<uint32_t*>(std::realloc(widths, measured * sizeof(uint32_t)));
            if (grown == nullptr)
                break;
            widths = grown;
            room = measured;
        }
        const uint32_t height = column.MeasurePrefixes(text + pos, measured, widths);
        if (height > lineAdvance)
            lineAdvance = height;
        if (n > 0) {
            n = FitLine(text + pos, n, pos + n == length, width, widths);
            column.DrawLine(text + pos, n, total);
        }
        pos += n;
        if (pos < length && text[pos] == '\n')
            ++pos;
        total += lineAdvance;
    }
    std::free(widths);
    return total;
}
