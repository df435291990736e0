#include <windows.h>

#include "closing_fit.h"
#include "draw/text.h"

const char MEASURING_METHOD[] = "measured with GDI in the shell's own font";

namespace {

// A memory DC like the frame buffer's, measured through the shell's own MeasureText.
struct GdiMeasurer : TextMeasurer {
    HDC dc = CreateCompatibleDC(nullptr);
    ~GdiMeasurer() override { DeleteDC(dc); }
    TextExtent Measure(int points, const char* run, uint32_t length) override
    {
        TextExtent extent = {0, 0};
        MeasureText(dc, run, static_cast<int>(length), points, &extent.width, &extent.height);
        return extent;
    }
};

}  // namespace

TextMeasurer* OpenTextMeasurer(std::string& error)
{
    GdiMeasurer* measurer = new GdiMeasurer;
    if (measurer->dc == nullptr) {
        delete measurer;
        error = "no device context to measure text in";
        return nullptr;
    }
    return measurer;
}
