// An output that goes away and comes back, over the scripted output with the
// refill stepped by hand under the manual clock: how the loss is noticed, the
// pace of the mixing meanwhile, the reopen attempts, the first fragments after
// the return, and the channel table while sounds start with no output.
#include "audio/audio.h"
#include "audio/channel_table.h"
#include "audio/mixer/mixsample.h"
#include "audio/mixer/ringdevice.h"
#include "fake_output.h"
#include "platform/manual_clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace vantrel::test {
namespace {

class DeviceLoss : public ::testing::Test {
protected:
    DeviceLoss()
        : scoped(clock), out(make_ref<FakeOutput>()), dev(Ref<platform::AudioOutput>(out), false)
    {
    }
    ~DeviceLoss() override
    {
        dev.close();
        for (mixsample* s : samples)
            release_mixsample(s);
    }

    // One refill tick, 5 ms later, with the cursor playing on in real time.
    void tick()
    {
        clock.advance(REFILL_PERIOD_MS);
        if (!out->gone && out->playing)
            out->cursor += 44100 * 4 * REFILL_PERIOD_MS / 1000;
        dev.refill();
    }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            tick();
    }
    // A constant-valued 44100 Hz stereo sample of `frames` frames.
    mixsample* sample(int32_t frames, int16_t value, int32_t loop = 0)
    {
        std::vector<int16_t> data(static_cast<size_t>(frames) * 2, value);
        samples.push_back(create_mixsample(frames, 16, 2, 44100, data.data(), loop));
        return samples.back();
    }
    bool ring_silent() const
    {
        const int16_t* r = dev.ring();
        return std::all_of(r, r + DEVICE_FRAGMENT * RING_FRAGMENTS, [](int16_t v) { return v == 0; });
    }

    platform::ManualClock clock;
    platform::ScopedClock scoped;
    Ref<FakeOutput> out;
    ringdevice dev;
    std::vector<mixsample*> samples;
};

TEST_F(DeviceLoss, LostOutputIsNoticedAtTheNextTickAndReopenedAtOnceWhenPossible)
{
    ASSERT_EQ(dev.init(), 0);
    ticks(REOPEN_RETRY_TICKS);
    out->gone = true;
    tick();
    EXPECT_TRUE(dev.is_missing());
    EXPECT_EQ(dev.losses(), 1);
    EXPECT_FALSE(out->playing); // stopped before the ring was cleared
    EXPECT_TRUE(ring_silent());
    tick(); // the first attempt comes right away: another default output is there
    EXPECT_FALSE(dev.is_missing());
    EXPECT_EQ(out->reopens, 1);
    EXPECT_TRUE(out->playing);
    EXPECT_EQ(dev.write_pos(), 6u * DEVICE_FRAGMENT);
    // An output lost again right after it opened is not reopened at once.
    out->gone = true;
    ticks(REOPEN_RETRY_TICKS);
    EXPECT_EQ(out->reopen_attempts, 1);
    tick();
    EXPECT_EQ(out->reopen_attempts, 2);
}

// Mixing goes on at the clock's pace, unheard, so a sound started while the
// output is missing ends when it would have; nothing is caught up in a burst.
TEST_F(DeviceLoss, MissingOutputMixesAtTheClocksPace)
{
    ASSERT_EQ(dev.init(), 0);
    out->gone = true;
    out->refuse_reopen = true;
    tick();
    ASSERT_TRUE(dev.is_missing());
    sound* s = dev.play(sample(44100 * 30, 1000), nullptr, 0); // thirty seconds
    ticks(200);                                            // one second
    // Started 15 ms after it was queued, so it played 985 ms give or take a
    // fragment (512 frames).
    const int64_t frames = s->pos_int() / 2;
    EXPECT_NEAR(frames, 44100 * 985 / 1000, 512);
    // A clock that stands still mixes nothing...
    const uint64_t before = s->position;
    for (int i = 0; i < 100; ++i)
        dev.refill();
    EXPECT_EQ(s->position, before);
    // ...and ten seconds of lateness cost at most eight fragments in one tick.
    clock.advance(10000);
    dev.refill();
    EXPECT_LE((s->position - before) >> 32, 8u * DEVICE_FRAGMENT + DEVICE_FRAGMENT);
}

// Hours without an output, the clock wrapping on the way: the pace holds.
TEST_F(DeviceLoss, PaceHoldsOverHoursAndAClockWrap)
{
    clock.set(0xFFFFFFFFu - 3600000u);
    ASSERT_EQ(dev.init(), 0);
    out->gone = true;
    out->refuse_reopen = true;
    tick();
    for (int hour = 0; hour < 2; ++hour)
        for (int minute = 0; minute < 60; ++minute) {
            clock.advance(60000 - 5 * REFILL_PERIOD_MS);
            dev.refill(); // late: skips the backlog
            ticks(5);
        }
    sound* s = dev.play(sample(44100 * 30, 1000), nullptr, 0);
    ticks(200);
    EXPECT_NEAR(s->pos_int() / 2, 44100 * 985 / 1000, 512);
}

TEST_F(DeviceLoss, ReopenIsTriedOncePerSecondUntilAnOutputIsThere)
{
    ASSERT_EQ(dev.init(), 0);
    out->gone = true;
    out->refuse_reopen = true;
    tick();
    ticks(1000); // five seconds
    EXPECT_EQ(out->reopen_attempts, 5);
    EXPECT_TRUE(dev.is_missing());
    // A loud loop plays on, unheard; the output comes back.
    dev.play(sample(4410, 2000, 1), nullptr, 0);
    ticks(20);
    out->refuse_reopen = false;
    int waited = 0;
    while (dev.is_missing() && waited < 1000) {
        tick();
        ++waited;
    }
    EXPECT_LE(waited, REOPEN_RETRY_TICKS);
    EXPECT_EQ(dev.reopens(), 1);
    // The lead is filled before the ring plays: its first sample is sound.
    EXPECT_EQ(dev.write_pos(), 6u * DEVICE_FRAGMENT);
    EXPECT_EQ(dev.ring()[0], 2000);
    EXPECT_EQ(out->written.load(), 6u * DEVICE_FRAGMENT * 2);
}

TEST_F(DeviceLoss, CursorThatStopsForASecondMeansTheOutputIsGone)
{
    ASSERT_EQ(dev.init(), 0);
    out->refuse_reopen = true;
    ticks(50);
    ASSERT_FALSE(dev.is_missing());
    // The output keeps answering but plays nothing further.
    for (int i = 0; i < STALL_TICKS - 1; ++i) {
        clock.advance(REFILL_PERIOD_MS);
        dev.refill();
    }
    EXPECT_FALSE(dev.is_missing());
    dev.refill();
    EXPECT_TRUE(dev.is_missing());
    EXPECT_EQ(dev.underruns(), 0);
}

TEST_F(DeviceLoss, CursorUnreadableTwiceInARowMeansTheOutputIsGone)
{
    ASSERT_EQ(dev.init(), 0);
    out->refuse_reopen = true;
    out->fail_position = true;
    dev.refill(); // once: the ring restarts
    EXPECT_FALSE(dev.is_missing());
    EXPECT_EQ(out->submits, 2);
    dev.refill();
    EXPECT_TRUE(dev.is_missing());
    // No more restarts, so no burst of mixing, while it is missing.
    ticks(400);
    EXPECT_EQ(out->submits, 2);
}

TEST_F(DeviceLoss, SecondInitOnAnOpenDeviceKeepsItsMixer)
{
    ASSERT_EQ(dev.init(), 0);
    mixer* first = dev.get_mixer();
    sound* s = dev.play(sample(44100, 1, 1), nullptr, 0);
    EXPECT_EQ(dev.init(), 0);
    EXPECT_EQ(dev.get_mixer(), first);
    EXPECT_EQ(out->opens, 1);
    ticks(10);
    EXPECT_GT(s->position, 0u); // still mixed by the same mixer
}

TEST_F(DeviceLoss, CloseWhileMissingReleasesTheOutput)
{
    ASSERT_EQ(dev.init(), 0);
    out->gone = true;
    out->refuse_reopen = true;
    tick();
    dev.close();
    EXPECT_EQ(out->closes, 1);
    EXPECT_FALSE(dev.is_missing());
    dev.refill(); // a late tick does nothing
    EXPECT_EQ(out->reopen_attempts, 0);
}

// The channel table's invariants: the free list and the channels in use
// partition channels 1..4095, and only channels in use name a sound.
void expect_channel_table_sound()
{
    const channel_table* t = audio_channels();
    ASSERT_NE(t, nullptr);
    std::set<uint32_t> free;
    for (uint32_t i = t->next_free[0]; i != 0; i = t->next_free[i]) {
        ASSERT_TRUE(free.insert(i).second) << "free list loops at " << i;
        ASSERT_LT(i, CHANNEL_SLOTS);
        EXPECT_FALSE(t->in_use[i]);
        EXPECT_EQ(t->sounds[i], nullptr);
    }
    size_t in_use = 0;
    for (uint32_t i = 1; i < CHANNEL_SLOTS; ++i) {
        if (t->in_use[i]) {
            ++in_use;
            EXPECT_EQ(t->next_free[i], 0u);
        }
        EXPECT_EQ(t->generation[i] % CHANNEL_GENERATION_STEP, 0u);
    }
    EXPECT_EQ(free.size() + in_use, CHANNEL_SLOTS - 1);
}

size_t channels_in_use()
{
    const channel_table* t = audio_channels();
    return static_cast<size_t>(std::count(t->in_use.begin() + 1, t->in_use.end(), true));
}

// A music-like load with no output for a minute: five sounds every 16 s,
// each 4 s long, plus a voice held across the loss.
TEST(DeviceLossChannels, SoundsStartedWithNoOutputEndAndFreeTheirChannels)
{
    platform::ManualClock clock;
    platform::ScopedClock scoped(clock);
    auto out = make_ref<FakeOutput>();
    ASSERT_TRUE(audio_init_with(out, false));
    ringdevice* dev = audio_device();
    auto buffer = create_sample_buffer(44100 * 4, 44100, SAMPLE_STEREO16_LE);
    auto sound_asset = TSoundAsset::load(buffer, 0);
    auto held = alloc_voice();
    out->gone = true;
    out->refuse_reopen = true;
    size_t most_in_use = 0;
    for (int t = 0; t < 60000; t += REFILL_PERIOD_MS) {
        if (t % 16000 == 0) {
            for (int i = 0; i < 5; ++i)
                EXPECT_NE(play_sound(sound_asset, nullptr), nullptr);
        }
        if (t % 1000 == 0)
            play_sound(sound_asset, held);
        clock.advance(REFILL_PERIOD_MS);
        dev->refill();
        most_in_use = std::max(most_in_use, channels_in_use());
    }
    EXPECT_TRUE(dev->is_missing());
    expect_channel_table_sound();
    // Without mixing, every one of the 20 fresh plays would still hold its
    // channel; with it, at most one cycle's five plus the held voice do.
    EXPECT_LE(most_in_use, 6u);
    EXPECT_TRUE(voice_playing(held));
    // Back again: the table stays sound and fresh plays still get channels.
    out->refuse_reopen = false;
    for (int i = 0; i < REOPEN_RETRY_TICKS; ++i) {
        clock.advance(REFILL_PERIOD_MS);
        out->cursor += 882;
        dev->refill();
    }
    EXPECT_FALSE(dev->is_missing());
    EXPECT_NE(play_sound(sound_asset, nullptr), nullptr);
    expect_channel_table_sound();
    audio_shutdown();
}

} // namespace
} // namespace vantrel::test
