#include <windows.h>

#include "closing_fit.h"
#include "draw/text.h"

const char MEASURING_METHOD[] = "measured with GDI in the shell's own font";

namespace {

// A memory DC like the frame buffer's, measured the way the shell measures its lines.
struct GdiMeasurer : TextMeasurer {
    HDC dc = CreateCompatibleDC(nullptr);
    ~GdiMeasurer() override { DeleteDC(dc); }
    uint32_t MeasurePrefixes(int points, const char* run, uint32_t length, uint32_t* widths) override
    {
        return MeasureTextPrefixes(dc, run, static_cast<int>(length), points, widths);
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
