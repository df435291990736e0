#include "old_line_breaking.h"

#include <algorithm>
#include <cstring>

#include "draw/text_layout.h"

OldLayout OldLayOut(const char* text, uint32_t length, uint32_t width,
                    const std::function<OldExtent(const char* run, uint32_t length)>& measure)
{
    OldLayout layout;
    uint32_t lineAdvance = 0;
    uint32_t pos = 0;
    while (pos < length) {
        const void* lineBreak = std::memchr(text + pos, '\n', length - pos);
        uint32_t n = lineBreak == nullptr ? length - pos : static_cast<uint32_t>(static_cast<const char*>(lineBreak) - (text + pos));
        if (n == 0) {
            lineAdvance = std::max(lineAdvance, measure(text + pos, 1).height);
        } else {
            for (;;) {
                const OldExtent extent = measure(text + pos, n);
                lineAdvance = std::max(lineAdvance, extent.height);
                const bool fits = extent.width <= width;
                const bool endsText = pos + n == length;
                const bool goodEnd = FindInPrefix(text + pos, " ", n) == nullptr || text[pos + n - 1] == ' ';
                if ((fits && (endsText || goodEnd)) || n == 1)
                    break;
                --n;
            }
            layout.lines.push_back(OldLine{pos, n, layout.height});
        }
        pos += n;
        if (pos < length && text[pos] == '\n')
            ++pos;
        layout.height += lineAdvance;
    }
    return layout;
}
