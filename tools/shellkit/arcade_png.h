#pragma once
#include <cstdint>
#include <vector>

// A 24-bit PNG of rows in the frame's byte order (blue, green, red, top-down), `stride` bytes
// apart. Deflate's stored blocks keep it short: frames are for looking at, not for keeping.
std::vector<uint8_t> EncodePng(const uint8_t* pixels, int width, int height, int stride);

uint32_t Crc32(const uint8_t* bytes, size_t length, uint32_t crc = 0);
uint32_t Adler32(const uint8_t* bytes, size_t length);
