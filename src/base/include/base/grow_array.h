#pragma once
#include <cstdint>

// Growable array of pointer-sized entries (button pointers, window handles).
// Entries are plain values: the array never creates or destroys what they point to.
struct GrowArray {
    void** data = nullptr;
    uint32_t count = 0;
    uint32_t capacity = 0;

    GrowArray() = default;
    GrowArray(const GrowArray&) = delete;
    GrowArray& operator=(const GrowArray&) = delete;
    ~GrowArray() { Clear(); }

    // Returns the new entry's index, or kNoIndex when storage could not be had
    // (the entry is then not stored and the array is unchanged).
    uint32_t Append(void* entry);
    void Reserve(uint32_t n);
    void SetCapacity(uint32_t n);
    void RemoveAt(uint32_t index);
    void Clear();

    // Linear search from index 0; kNoIndex when absent.
    uint32_t IndexOf(const void* entry) const;

    static constexpr uint32_t kNoIndex = 0xFFFFFFFFu;
};
