#include "base/byte_buffer.h"

#include <cstdlib>
#include <cstring>
#include <utility>

ByteBuffer::~ByteBuffer()
{
    std::free(data);
}

bool ByteBuffer::Reserve(uint32_t n)
{
    if (n <= capacity)
        return true;
    const uint32_t grown = capacity <= UINT32_MAX / 2 && 2 * capacity > n ? 2 * capacity : n;
    char* bigger = static_cast<char*>(std::realloc(data, grown));
    if (bigger == nullptr)
        return false;
    data = bigger;
    capacity = grown;
    return true;
}

bool ByteBuffer::Append(const void* bytes, uint32_t count)
{
    if (count > UINT32_MAX - size || !Reserve(size + count))
        return false;
    if (count > 0)
        std::memcpy(data + size, bytes, count);
    size += count;
    return true;
}

bool ByteBuffer::Equals(const ByteBuffer& other) const
{
    return size == other.size && (size == 0 || std::memcmp(data, other.data, size) == 0);
}

void ByteBuffer::Swap(ByteBuffer& other)
{
    std::swap(data, other.data);
    std::swap(size, other.size);
    std::swap(capacity, other.capacity);
}
