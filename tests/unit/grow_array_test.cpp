#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "draw/grow_array.h"

static void* Entry(uintptr_t value)
{
    return reinterpret_cast<void*>(value);
}

TEST(GrowArray, CapacityGrowsOneAtATimeThenByAFifth)
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
}

TEST(GrowArray, RemoveAtKeepsOrderAndIgnoresIndicesPastTheEnd)
{
    GrowArray array;
    for (uintptr_t i = 1; i <= 4; ++i)
        array.Append(Entry(i));

    array.RemoveAt(4);
    array.RemoveAt(0xFFFFFFFFu);
    ASSERT_EQ(array.count, 4u);

    array.RemoveAt(0);
    ASSERT_EQ(array.count, 3u);
    EXPECT_EQ(array.data[0], Entry(2));
    EXPECT_EQ(array.data[1], Entry(3));
    EXPECT_EQ(array.data[2], Entry(4));

    array.RemoveAt(2);
    ASSERT_EQ(array.count, 2u);
    EXPECT_EQ(array.data[1], Entry(3));
    EXPECT_EQ(array.capacity, 4u) << "removing never shrinks the storage";
    EXPECT_EQ(array.IndexOf(Entry(3)), 1u);
    EXPECT_EQ(array.IndexOf(Entry(4)), GrowArray::kNoIndex) << "a removed entry must not be found";
}

TEST(GrowArray, ClearFreesStorageAndAppendStartsAgain)
{
    GrowArray array;
    for (uintptr_t i = 0; i < 11; ++i)
        array.Append(Entry(i));
    EXPECT_EQ(array.capacity, 12u);

    array.Clear();
    EXPECT_EQ(array.data, nullptr);
    EXPECT_EQ(array.count, 0u);
    EXPECT_EQ(array.capacity, 0u);

    EXPECT_EQ(array.Append(Entry(7)), 0u);
    EXPECT_EQ(array.capacity, 1u);

    // Emptied by count alone, as the game's window list does: storage stays for reuse.
    array.count = 0;
    EXPECT_EQ(array.Append(Entry(8)), 0u);
    EXPECT_EQ(array.capacity, 1u);
    EXPECT_EQ(array.IndexOf(Entry(7)), GrowArray::kNoIndex);
}
