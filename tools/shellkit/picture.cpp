#include "picture.h"

#include "file_system.h"

bool DecodeJpeg(const std::string& path, int& width, int& height, std::string& error)
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
    return DecodeJpegBytes(path, bytes, width, height, error);
}
