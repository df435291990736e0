#include <gtest/gtest.h>

#include <vector>

#include "draw/frame_clock.h"

namespace {
struct Clock {
    uint32_t last = 0;
    int32_t backlog = 0;
    bool At(uint32_t now) { return AdvanceFrameClock(now, last, backlog); }
};
}  // namespace

TEST(FrameClock, ReadingsFifteenMillisecondsApartAreDueThreeTimesInFour)
{
    Clock clock;
    EXPECT_FALSE(clock.At(1000)) << "the first call only starts the clock";
    std::vector<bool> due;
    std::vector<int32_t> left;
    for (uint32_t now = 1015; now <= 1075; now += 15) {
        due.push_back(clock.At(now));
        left.push_back(clock.backlog);
    }
    EXPECT_EQ(due, (std::vector<bool>{false, true, true, true, false}));
    EXPECT_EQ(left, (std::vector<int32_t>{15, 10, 5, 0, 15}));
}

TEST(FrameClock, APauseIsWorkedOffOneStepPerCall)
{
    Clock clock;
    clock.At(500);
    EXPECT_TRUE(clock.At(1500));
    EXPECT_EQ(clock.backlog, 980);
    for (int i = 0; i < 49; ++i)
        ASSERT_TRUE(clock.At(1500)) << "call " << i + 2 << " after the pause";
    EXPECT_FALSE(clock.At(1500)) << "the 51st call finds less than one step left";
    EXPECT_EQ(clock.backlog, 0);
}

TEST(FrameClock, AZeroReadingRestartsTheClockAndTheCounterWrapCostsNothing)
{
    Clock clock;
    clock.At(0xFFFFFFFAu);
    EXPECT_FALSE(clock.At(0)) << "the counter wrapped onto 0 six milliseconds later";
    EXPECT_EQ(clock.backlog, 6);
    EXPECT_FALSE(clock.At(30)) << "after a 0 reading the next call is a first call";
    EXPECT_EQ(clock.backlog, 6) << "and adds no time";

    Clock wrapping;
    wrapping.At(0xFFFFFFF6u);
    EXPECT_TRUE(wrapping.At(10)) << "10 ms before the wrap plus 10 after is one step";
    EXPECT_EQ(wrapping.backlog, 0);
}
