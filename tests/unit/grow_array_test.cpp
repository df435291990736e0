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
    uint32_t growths = 0;
    for (uintptr_t i = 0; i < 1000; ++i) {
        const uint32_t before = array.capacity;
        EXPECT_EQ(array.Append(Entry(i + 1)), i);
        if (array.capacity == before)
            continue;
        ++growths;
        EXPECT_LE(array.capacity, array.count + array.count / 5 + 1) << "a fifth spare at most, from " << before;
    }
    EXPECT_LT(growths, 45u) << "growth by a fifth keeps the copies few";
    for (uint32_t i = 0; i < array.count; ++i)
        ASSERT_EQ(array.data[i], Entry(i + 1)) << "entry " << i << " lost while growing";

    array.Clear();
    EXPECT_EQ(array.data, nullptr);
    EXPECT_EQ(array.count, 0u);
    EXPECT_EQ(array.capacity, 0u);
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
    EXPECT_EQ(array.data[0], Entry(2));
    EXPECT_EQ(array.data[1], Entry(3));
    EXPECT_EQ(array.capacity, 4u) << "removing never shrinks the storage";
    EXPECT_EQ(array.IndexOf(Entry(4)), GrowArray::kNoIndex) << "a removed entry must not be found";
}
