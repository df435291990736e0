#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "base/grow_array.h"

static void* Entry(uintptr_t value)
{
    return reinterpret_cast<void*>(value);
}

TEST(GrowArray, GrowsOneAtATimeThenByAFifthClearsAndRemovesInOrder)
{
    GrowArray array;
    std::vector<uint32_t> capacities;
    for (uintptr_t i = 0; i < 126; ++i) {
        EXPECT_EQ(array.Append(Entry(i + 1)), i);
        if (capacities.empty() || capacities.back() != array.capacity)
            capacities.push_back(array.capacity);
    }
    const std::vector<uint32_t> expected = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 12, 14, 16,
                                            19, 22, 26, 31, 37, 44, 52, 62, 74, 88, 105, 126};
    EXPECT_EQ(capacities, expected);
    for (uint32_t i = 0; i < array.count; ++i)
        ASSERT_EQ(array.data[i], Entry(i + 1)) << "entry " << i << " lost while growing";

    array.Clear();
    EXPECT_TRUE(array.data == nullptr && array.count == 0 && array.capacity == 0);
    EXPECT_EQ(array.Append(Entry(7)), 0u);
    EXPECT_EQ(array.capacity, 1u);

    // Removing keeps the order and ignores indices past the end.
    for (uintptr_t i = 2; i <= 4; ++i)
        array.Append(Entry(i));
    array.RemoveAt(4);
    array.RemoveAt(0xFFFFFFFFu);
    ASSERT_EQ(array.count, 4u);

    array.RemoveAt(0);
    array.RemoveAt(2);
    ASSERT_EQ(array.count, 2u);
    EXPECT_TRUE(array.data[0] == Entry(2) && array.data[1] == Entry(3));
    EXPECT_EQ(array.capacity, 4u) << "removing never shrinks the storage";
    EXPECT_EQ(array.IndexOf(Entry(4)), GrowArray::kNoIndex) << "a removed entry must not be found";
}
