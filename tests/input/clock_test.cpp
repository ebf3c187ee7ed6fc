#include "input/clock.h"
#include "platform/manual_clock.h"

#include <gtest/gtest.h>

using namespace vantrel;

TEST(Clock, DelaySleepsOnlyForNonNegativeValues)
{
    platform::ManualClock clock(5000);
    platform::ScopedClock installed(clock);
    delay(-5);
    delay(0);
    delay(16);
    EXPECT_EQ(clock.sleeps, (std::vector<int32_t>{0, 16}));
    EXPECT_EQ(clock_ms(), 5016);
}

TEST(Clock, IntervalsSurviveTheWrap)
{
    platform::ManualClock clock(0xFFFFFFF0u);
    platform::ScopedClock installed(clock);
    int32_t before = clock_ms();
    clock.advance(0x20);
    EXPECT_EQ(elapsed_ms(before, clock_ms()), 0x20);
}

TEST(Clock, SystemClockMovesForward)
{
    int32_t a = clock_ms();
    delay(2);
    EXPECT_GE(elapsed_ms(a, clock_ms()), 2);
}
