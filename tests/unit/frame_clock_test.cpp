#include <gtest/gtest.h>

#include <vector>

#include "draw/frame_clock.h"
#include "shell/countdown.h"

namespace {
struct Clock {
    uint32_t last = 0;
    int32_t backlog = 0;
    bool At(uint32_t now) { return AdvanceFrameClock(now, last, backlog); }
};
}  // namespace

TEST(FrameClock, DueThreeTimesInFourAPauseWorkedOffAndTheCounterWrapCostsNothing)
{
    Clock clock;
    EXPECT_FALSE(clock.At(1000)) << "the first call only starts the clock";
    std::vector<bool> due;
    for (uint32_t now = 1015; now <= 1075; now += 15)
        due.push_back(clock.At(now));
    EXPECT_EQ(due, (std::vector<bool>{false, true, true, true, false}));

    Clock paused;
    paused.At(500);
    for (int i = 0; i < 50; ++i)
        ASSERT_TRUE(paused.At(1500)) << "call " << i + 1 << " after the pause";
    EXPECT_FALSE(paused.At(1500)) << "the 51st call finds less than one step left";

    Clock zero;
    zero.At(0xFFFFFFFAu);
    EXPECT_FALSE(zero.At(0)) << "the counter wrapped onto 0 six milliseconds later";
    EXPECT_EQ(zero.backlog, 6);
    EXPECT_FALSE(zero.At(30)) << "after a 0 reading the next call is a first call";
    EXPECT_EQ(zero.backlog, 6) << "and adds no time";

    Clock wrapping;
    wrapping.At(0xFFFFFFF6u);
    EXPECT_TRUE(wrapping.At(10)) << "10 ms before the wrap plus 10 after is one step";
    EXPECT_EQ(wrapping.backlog, 0);
}

TEST(CloseCountdown, RunsOutOnTheThousandthStepAndStaysOut)
{
    float countdown = CLOSE_COUNTDOWN_SECONDS;
    int steps = 0;
    while (!StepCloseCountdown(countdown)) {
        ASSERT_GT(countdown, 0.0f);
        ASSERT_LT(++steps, 2000);
    }
    EXPECT_EQ(steps + 1, 1000);
    EXPECT_EQ(countdown, 0.0f) << "set to exactly zero, not left slightly below";
    EXPECT_TRUE(StepCloseCountdown(countdown)) << "every further step asks again";
    EXPECT_EQ(countdown, 0.0f);
}
