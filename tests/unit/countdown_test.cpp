#include <gtest/gtest.h>

#include "shell/countdown.h"

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
