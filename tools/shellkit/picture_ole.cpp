#include "draw/background_picture.h"
#include "picture.h"

// The shell's own loader: what decodes here is what the closing screen will show.
bool DecodeJpegBytes(const std::string& path, const std::vector<uint8_t>&, int& width, int& height,
                     std::string& error)
{
    BackgroundPicture picture;
    if (!picture.Load(path.c_str())) {
        error = "does not decode with the system's picture loader";
        return false;
    }
    const SIZE size = picture.GetSizeInPixels(nullptr);
    width = size.cx;
    height = size.cy;
    return true;
}
