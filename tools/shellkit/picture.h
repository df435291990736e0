#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Decodes a JPEG file whole, the way the player's machine will have to, and reports its size
// in pixels; false with the decoder's reason when it does not decode.
bool DecodeJpeg(const std::string& path, int& width, int& height, std::string& error);

// The platform's decoder, given the file's bytes (already known to start like a JPEG).
bool DecodeJpegBytes(const std::string& path, const std::vector<uint8_t>& bytes, int& width, int& height,
                     std::string& error);
