#include "base/grow_array.h"

#include <cstdlib>
#include <cstring>

uint32_t GrowArray::Append(void* entry)
{
    Reserve(count + 1);
    if (capacity <= count)
        return kNoIndex;
    data[count] = entry;
    return count++;
}

void GrowArray::Reserve(uint32_t n)
{
    if (capacity >= n)
        return;
    // Single precision on purpose: small arrays then grow one entry at a time.
    const float grownExact = static_cast<float>(capacity) * 1.2f;
    const uint32_t grown = static_cast<uint32_t>(grownExact);
    SetCapacity(grown > n ? grown : n);
}

void GrowArray::SetCapacity(uint32_t n)
{
    if (capacity >= n)
        return;
    // A failed allocation keeps the old block: the array stays valid, only smaller than asked.
    if (static_cast<size_t>(n) > SIZE_MAX / sizeof(void*))
        return;
    void** grown = static_cast<void**>(std::malloc(static_cast<size_t>(n) * sizeof(void*)));
    if (grown == nullptr)
        return;
    if (count > 0)
        std::memcpy(grown, data, static_cast<size_t>(count) * sizeof(void*));
    std::free(data);
    data = grown;
    capacity = n;
}

void GrowArray::RemoveAt(uint32_t index)
{
    if (index >= count)
        return;
    if (index + 1 < count)
        std::memmove(data + index, data + index + 1, static_cast<size_t>(count - index - 1) * sizeof(void*));
    --count;
}

void GrowArray::Clear()
{
    if (data != nullptr) {
        std::free(data);
        data = nullptr;
        capacity = 0;
    }
    count = 0;
}

uint32_t GrowArray::IndexOf(const void* entry) const
{
    for (uint32_t i = 0; i < count; ++i) {
        if (data[i] == entry)
            return i;
    }
    return kNoIndex;
}
