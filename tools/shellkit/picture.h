#pragma once
#include <string>

// Decodes a JPEG file whole, the way the player's machine will have to, and reports its size
// in pixels; false with the decoder's reason when it does not decode.
bool DecodeJpeg(const std::string& path, int& width, int& height, std::string& error);
