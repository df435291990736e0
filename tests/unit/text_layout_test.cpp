#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "draw/text_layout.h"

namespace {

// Every character one unit wide and one high; gives "top:line|" per drawn line, then "=height".
struct UnitColumn : WrapColumn {
    std::string drawn;
    uint32_t MeasurePrefixes(const char*, uint32_t length, uint32_t* widths) override
    {
        for (uint32_t i = 0; i < length; ++i)
            widths[i] = i + 1;
        return 1;
    }
    void DrawLine(const char* line, uint32_t length, uint32_t top) override
    {
        drawn += std::to_string(top) + ":" + std::string(line, length) + "|";
    }
};

std::string Wrap(const char* text, uint32_t width)
{
    UnitColumn column;
    const uint32_t height = LayOutWrappedText(text, static_cast<uint32_t>(std::strlen(text)), width, column);
    return column.drawn + "=" + std::to_string(height);
}

std::string Take(char* heapString)
{
    std::string copy(heapString);
    std::free(heapString);
    return copy;
}

} // namespace

TEST(TextLayout, BreaksAfterSpacesAndAtLineBreaksRoundsTheCountdownHalvesUpAndExpandsPlaceholdersOnce)
{
    EXPECT_EQ(Wrap("aaa bbb ccc", 7), "0:aaa |1:bbb ccc|=2");
    EXPECT_EQ(Wrap("Hello world\nNext", 99), "0:Hello |1:world|2:Next|=3");
    EXPECT_EQ(Wrap("Hello world \nNext", 99), "0:Hello world |1:Next|=2");
    EXPECT_EQ(Wrap("abc\ndef\n", 99), "0:abc|1:def|=2");
    EXPECT_EQ(Wrap("abcdef ghi", 6), "0:abcdef|1: ghi|=2");
    EXPECT_EQ(Wrap("abcdefghij", 4), "0:abcd|1:efgh|2:ij|=3");
    EXPECT_EQ(Wrap("", 99), "=0");
    // Empty lines still advance; a column narrower than a character takes one per line.
    EXPECT_EQ(Wrap("\n\nab c", 0), "2:a|3:b|4: |5:c|=6");

    const float seconds[] = {20.0f, 0.4f, 0.49999997f, 0.5f, 2.5f};
    const char* const shown[] = {"20", "0", "0", "1", "3"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Take(ExpandPlaceholders("[TIME_TO_CLOSE]", seconds[i], "")), shown[i]) << seconds[i];

    EXPECT_EQ(Take(ExpandPlaceholders("[GAME_TITLE] [TIME_TO_CLOSE] [TIME_TO_CLOSE]", 7.0f, "[TIME_TO_CLOSE]")),
              "[TIME_TO_CLOSE] 7 [TIME_TO_CLOSE]");
}
