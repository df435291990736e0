// Any text, column width and character widths: the layout must end, measure and draw only
// runs inside the text, and draw each character at most once, in order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "draw/text_layout.h"

namespace {

struct FuzzColumn : WrapColumn {
    const char* text;
    uint32_t length;
    uint32_t height;
    std::vector<uint32_t> widthBefore;
    uint32_t drawnEnd = 0;
    uint64_t drawnCharacters = 0;

    uint32_t Start(const char* run, uint32_t n) const
    {
        if (run < text || n == 0 || n > length || static_cast<uint32_t>(run - text) > length - n)
            __builtin_trap();
        return static_cast<uint32_t>(run - text);
    }
    TextExtent Measure(const char* run, uint32_t n) override
    {
        const uint32_t start = Start(run, n);
        return {widthBefore[start + n] - widthBefore[start], height};
    }
    void DrawLine(const char* line, uint32_t n, uint32_t) override
    {
        if (Start(line, n) < drawnEnd)
            __builtin_trap();
        drawnEnd = Start(line, n) + n;
        drawnCharacters += n;
    }
};

} // namespace

// Input: column width (2 bytes), widths of 16 character classes, line height, then the text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 19)
        return 0;
    FuzzColumn column;
    column.length = static_cast<uint32_t>(size - 19);
    // Exactly the text's bytes, no terminator: ASan sees any read past the end.
    char* text = static_cast<char*>(std::malloc(column.length > 0 ? column.length : 1));
    std::memcpy(text, data + 19, column.length);
    column.text = text;
    column.height = data[18];
    column.widthBefore.push_back(0);
    for (uint32_t i = 0; i < column.length; ++i)
        column.widthBefore.push_back(column.widthBefore.back() + data[2 + (text[i] & 15)]);

    const uint32_t height = LayOutWrappedText(text, column.length, data[0] | (data[1] << 8), column);
    if (column.drawnCharacters > column.length || uint64_t(height) > uint64_t(column.length) * column.height)
        __builtin_trap();
    std::free(text);
    return 0;
}
