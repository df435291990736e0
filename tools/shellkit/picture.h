#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A decoded picture: rows top-down, three bytes a pixel, red, green, blue.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    // Relative luminance (0 black, 1 white) averaged over the pixels inside the rectangle
    // [left, right) x [top, bottom); false when none of the picture lies there.
    bool MeanLuminance(int left, int top, int right, int bottom, double& luminance) const;
};

// Decodes a JPEG file whole, the way the player's machine will have to; false with the
// decoder's reason when it does not decode.
bool DecodeJpeg(const std::string& path, Picture& picture, std::string& error);

// The platform's decoder, given the file's bytes (already known to start like a JPEG).
bool DecodeJpegBytes(const std::string& path, const std::vector<uint8_t>& bytes, Picture& picture, std::string& error);
