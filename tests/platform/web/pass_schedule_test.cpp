// The browser host's pass deadlines, fed frame times of different displays.
#include "platform/web/pass_schedule.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantrel::web {
namespace {

// Frames every period_ms for seconds; the frame times at which a pass ran.
std::vector<double> run(double period_ms, double seconds, double start = 1000.0)
{
    PassSchedule schedule(start);
    std::vector<double> passes;
    for (double t = start; t < start + seconds * 1000.0; t += period_ms)
        if (schedule.take(t))
            passes.push_back(t);
    return passes;
}

TEST(PassSchedule, KeepsTheDesktopStepsAsDeadlines)
{
    PassSchedule schedule(0.0);
    std::vector<double> deadlines;
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(schedule.take(schedule.next_deadline()));
        deadlines.push_back(schedule.next_deadline());
    }
    EXPECT_EQ(deadlines, (std::vector<double>{16, 33, 50, 66, 83, 100}));
}

TEST(PassSchedule, SixtyPassesASecondWhateverTheDisplayRate)
{
    for (double hertz : {60.0, 75.0, 120.0, 144.0, 240.0, 1000.0}) {
        const std::vector<double> passes = run(1000.0 / hertz, 10.0);
        EXPECT_NEAR(static_cast<double>(passes.size()), 600.0, 1.0) << hertz << " Hz";
        for (size_t i = 1; i < passes.size(); ++i)
            ASSERT_GT(passes[i] - passes[i - 1], 1000.0 / hertz / 2) << hertz << " Hz";
    }
}

TEST(PassSchedule, AFrameMoreOrLessOnTimeRunsAPassAtSixtyHertz)
{
    // A 60 Hz display's frames fall a hair before the 50 ms deadlines.
    const std::vector<double> passes = run(1000.0 / 60.0 - 0.0001, 10.0);
    EXPECT_NEAR(static_cast<double>(passes.size()), 600.0, 1.0);
}

TEST(PassSchedule, AtMostOnePassPerFrameOnASlowDisplay)
{
    // 30 Hz: every frame is late, each runs one pass and none runs two.
    EXPECT_EQ(run(1000.0 / 30.0, 2.0).size(), 60u);
}

TEST(PassSchedule, EarlyFramesWait)
{
    PassSchedule schedule(100.0);
    ASSERT_TRUE(schedule.take(100.0));
    EXPECT_FALSE(schedule.take(110.0));
    EXPECT_FALSE(schedule.take(116.0 - PassSchedule::EARLY_MS - 0.01));
    EXPECT_TRUE(schedule.take(116.0 - PassSchedule::EARLY_MS));
}

TEST(PassSchedule, ALongGapStartsTheScheduleAgainInsteadOfCatchingUp)
{
    PassSchedule schedule(0.0);
    for (double t = 0; t < 1000.0; t += 1000.0 / 60.0)
        schedule.take(t);
    // Five seconds in a background tab, then frames at 60 Hz again.
    const double back = 6000.0;
    ASSERT_TRUE(schedule.take(back));
    const double next = schedule.next_deadline();
    EXPECT_TRUE(next == back + 16 || next == back + 17) << next;
    int passes = 0;
    for (double t = back + 1000.0 / 60.0; t < back + 1000.0; t += 1000.0 / 60.0)
        passes += schedule.take(t) ? 1 : 0;
    EXPECT_NEAR(passes, 59, 1);
}

TEST(PassSchedule, AShortStallIsMadeUpOnlyAtOnePassPerFrame)
{
    PassSchedule schedule(0.0);
    ASSERT_TRUE(schedule.take(0.0));
    // 100 ms without a frame (under the restart limit), then a 240 Hz display.
    int passes = 0;
    double t = 100.0;
    for (; passes < 6; t += 1000.0 / 240.0)
        passes += schedule.take(t) ? 1 : 0;
    // The six owed passes came on six consecutive frames, not in one.
    EXPECT_NEAR(t, 100.0 + 6 * 1000.0 / 240.0, 0.01);
}

} // namespace
} // namespace vantrel::web
