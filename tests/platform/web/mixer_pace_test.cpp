// How much the browser host mixes in place of a silent page.
#include "platform/web/mixer_pace.h"

#include <gtest/gtest.h>

namespace vantrel::web {
namespace {

constexpr int32_t per_ms(double ms) { return static_cast<int32_t>(ms * MixerPace::RATE / 1000.0); }

TEST(MixerPace, NothingOwedWhileTheBrowserTakesTheSound)
{
    MixerPace pace(0.0);
    // The browser's callback takes 1024 frames about every 23 ms.
    double t = 0.0;
    for (int i = 0; i < 500; ++i, t += 1024.0 * 1000.0 / MixerPace::RATE) {
        pace.mixed(1024);
        EXPECT_EQ(pace.owed(t + 30.0), 0) << i;
    }
}

TEST(MixerPace, ASilentPageIsMixedUpToTheClock)
{
    MixerPace pace(1000.0);
    EXPECT_EQ(pace.owed(1000.0 + MixerPace::SLACK_MS), 0);
    const int32_t owed = pace.owed(1300.0);
    EXPECT_EQ(owed, per_ms(300.0));
    pace.mixed(owed);
    EXPECT_EQ(pace.owed(1300.0), 0);
    EXPECT_EQ(pace.owed(1450.0), 0);
    EXPECT_EQ(pace.owed(1600.0), per_ms(300.0));
}

TEST(MixerPace, ALongSilenceIsMixedOverSeveralFrames)
{
    MixerPace pace(0.0);
    int frames = 0;
    for (int32_t owed; (owed = pace.owed(60000.0)) > 0; ++frames) {
        EXPECT_LE(owed, MixerPace::MOST_FRAMES);
        pace.mixed(owed);
    }
    EXPECT_EQ(frames, (per_ms(60000.0) + MixerPace::MOST_FRAMES - 1) / MixerPace::MOST_FRAMES);
}

TEST(MixerPace, SoundThatRanAheadOwesNothing)
{
    MixerPace pace(0.0);
    pace.mixed(MixerPace::RATE * 2);
    EXPECT_EQ(pace.owed(1500.0), 0);
    EXPECT_EQ(pace.owed(2100.0), 0);
}

} // namespace
} // namespace vantrel::web
