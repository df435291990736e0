#pragma once
#include <cstdint>

// A growable run of bytes on the C heap. Without exceptions: an append that cannot get the
// memory leaves the buffer as it was and says so.
struct ByteBuffer {
    char* data = nullptr;
    uint32_t size = 0;
    uint32_t capacity = 0;

    ByteBuffer() = default;
    ~ByteBuffer();
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    bool Reserve(uint32_t n);
    bool Append(const void* bytes, uint32_t count);
    bool Equals(const ByteBuffer& other) const;
    void Swap(ByteBuffer& other);
};
