#include <vector>

#include "draw/background_picture.h"
#include "file_system.h"
#include "picture.h"

// The shell's own loader: what decodes here is what the closing screen will show.
bool DecodeJpeg(const std::string& path, int& width, int& height, std::string& error)
{
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) {
        error = "cannot be read";
        return false;
    }
    // The picture loader takes bitmaps and GIFs too; only a JPEG is asked for.
    if (bytes.size() < 3 || bytes[0] != 0xFF || bytes[1] != 0xD8 || bytes[2] != 0xFF) {
        error = "is not a JPEG picture";
        return false;
    }
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
