#include "picture.h"

#include <algorithm>
#include <cmath>

#include "file_system.h"

namespace {

// sRGB's transfer function undone: the light a screen gives for a byte.
double Linear(uint8_t value)
{
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

bool Picture::MeanLuminance(int left, int top, int right, int bottom, double& luminance) const
{
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width);
    bottom = std::min(bottom, height);
    if (left >= right || top >= bottom)
        return false;
    double linear[256];
    for (int i = 0; i < 256; ++i)
        linear[i] = Linear(static_cast<uint8_t>(i));
    double sum = 0;
    for (int y = top; y < bottom; ++y) {
        const uint8_t* pixel = &rgb[(static_cast<size_t>(y) * width + left) * 3];
        for (int x = left; x < right; ++x, pixel += 3)
            sum += 0.2126 * linear[pixel[0]] + 0.7152 * linear[pixel[1]] + 0.0722 * linear[pixel[2]];
    }
    luminance = sum / (static_cast<double>(right - left) * (bottom - top));
    return true;
}

bool DecodeJpeg(const std::string& path, Picture& picture, std::string& error)
{
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) {
        error = "cannot be read";
        return false;
    }
    // Decoders take other formats too (the system's picture loader bitmaps and GIFs); only a
    // JPEG is asked for.
    if (bytes.size() < 3 || bytes[0] != 0xFF || bytes[1] != 0xD8 || bytes[2] != 0xFF) {
        error = "is not a JPEG picture";
        return false;
    }
    return DecodeJpegBytes(path, bytes, picture, error);
}
