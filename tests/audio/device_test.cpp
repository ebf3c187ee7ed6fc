// The output device's logic over a scripted output, refilled by hand: the
// initial fill, the lead, the underrun rule, the position limit and closing.
#include "audio/mixer/mixsample.h"
#include "audio/mixer/ringdevice.h"
#include "fake_output.h"
#include "platform/manual_clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace vantrel::test {
namespace {

class DeviceTest : public ::testing::Test {
protected:
    DeviceTest()
        : scoped(clock), out(make_ref<FakeOutput>()), dev(Ref<platform::AudioOutput>(out), false)
    {
    }
    ~DeviceTest() override { dev.close(); }

    void set_cursor_values(uint32_t values) { out->cursor = values * 2; }
    // Two ticks that keep the lead: the writer ends at 12288.
    void write_to_12288()
    {
        set_cursor_values(4096);
        dev.refill();
        set_cursor_values(6144);
        dev.refill();
        ASSERT_EQ(dev.write_pos(), 12288u);
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
};

TEST_F(DeviceTest, InitOpensAt44100StereoAndFillsSixFragments)
{
    ASSERT_EQ(dev.init(), 0);
    EXPECT_EQ(out->rate, 44100);
    EXPECT_EQ(out->channels, 2);
    EXPECT_EQ(out->bits, 16);
    EXPECT_EQ(out->ring_bytes, 1024u * 2 * 32);
    EXPECT_EQ(dev.write_pos(), 6u * 1024);
    EXPECT_EQ(out->written.load(), 6u * 1024 * 2);
    EXPECT_EQ(out->submits, 1);
    EXPECT_TRUE(dev.is_running());
    EXPECT_EQ(dev.get_mixer()->rate, 44100);
    EXPECT_EQ(dev.get_mixer()->count, 1024);
}

TEST_F(DeviceTest, RefillKeepsTheLeadInWholeFragments)
{
    ASSERT_EQ(dev.init(), 0);
    set_cursor_values(100);
    dev.refill();
    EXPECT_EQ(dev.write_pos(), 7u * 1024); // 100 + 6144 rounded up to a fragment
    dev.refill();
    EXPECT_EQ(dev.write_pos(), 7u * 1024);
}

TEST_F(DeviceTest, MixedSoundLandsInTheRingAtTheWriteSlot)
{
    ASSERT_EQ(dev.init(), 0);
    std::vector<int16_t> frames(2 * 3000, 0);
    for (size_t i = 0; i < frames.size(); ++i)
        frames[i] = static_cast<int16_t>(i % 2 ? -int(i) : int(i));
    mixsample* s = create_mixsample(3000, 16, 2, 44100, frames.data(), 0);
    ASSERT_NE(dev.play(s, nullptr, 0), nullptr);
    clock.advance(25);
    // The writer wraps the ring: fragments 32 to 35 go to slots 0 to 3.
    for (uint32_t cursor = 1024; cursor <= 30 * 1024; cursor += 1024) {
        set_cursor_values(cursor);
        dev.refill();
    }
    EXPECT_EQ(dev.write_pos(), 36u * 1024);
    // The sound started in fragment 6 (the first mixed after play).
    const int16_t* r = dev.ring();
    for (size_t i = 0; i < frames.size(); ++i)
        ASSERT_EQ(r[6 * 1024 + i], frames[i]) << i;
    release_mixsample(s);
}

TEST_F(DeviceTest, CursorLessThanTwoFragmentsBehindTriggersUnderrun)
{
    ASSERT_EQ(dev.init(), 0);
    write_to_12288();
    set_cursor_values(10300);
    dev.refill();
    EXPECT_EQ(out->resets, 1);
    EXPECT_EQ(dev.latency(), 8);
    EXPECT_EQ(dev.write_pos(), 16384u);
    EXPECT_EQ(dev.restart_countdown(), 250);
    EXPECT_EQ(dev.underruns(), 1);
    EXPECT_TRUE(ring_silent());
    EXPECT_EQ(out->written.load(), 16384u * 2);
}

TEST_F(DeviceTest, CursorExactlyTwoFragmentsBehindIsNoUnderrun)
{
    ASSERT_EQ(dev.init(), 0);
    write_to_12288();
    set_cursor_values(10240);
    dev.refill();
    EXPECT_EQ(out->resets, 0);
    EXPECT_EQ(dev.write_pos(), 16384u);
    EXPECT_EQ(dev.latency(), 6);
}

TEST_F(DeviceTest, UnderrunWaits250TicksThenResubmits)
{
    ASSERT_EQ(dev.init(), 0);
    write_to_12288();
    set_cursor_values(10300);
    dev.refill();
    const int submits = out->submits;
    const int reads = out->position_reads;
    for (int i = 0; i < 249; ++i)
        dev.refill();
    EXPECT_EQ(out->submits, submits);
    EXPECT_EQ(out->position_reads, reads); // the mixer and the cursor are left alone
    dev.refill();
    EXPECT_EQ(out->submits, submits + 1);
    EXPECT_EQ(dev.restart_countdown(), 0);
    EXPECT_EQ(dev.write_pos(), 16384u); // cursor 0: 16 fragments of silence first
    // Fresh sound is written only once the cursor has come within the lead.
    set_cursor_values(8 * 1024 + 1);
    dev.refill();
    EXPECT_EQ(dev.write_pos(), 17u * 1024);
}

TEST_F(DeviceTest, LeadGrowsToTenAndStops)
{
    ASSERT_EQ(dev.init(), 0);
    const int expected[] = {8, 10, 10, 10};
    for (int lead : expected) {
        set_cursor_values(dev.write_pos() - 1000);
        dev.refill();
        ASSERT_EQ(dev.latency(), lead);
        EXPECT_EQ(dev.write_pos(), static_cast<uint32_t>(lead) * 2048);
        for (int i = 0; i < 250; ++i)
            dev.refill();
        ASSERT_EQ(dev.restart_countdown(), 0);
    }
}

TEST_F(DeviceTest, CursorPastThePositionLimitRestartsTheRing)
{
    ASSERT_EQ(dev.init(), 0);
    const int resets = out->resets;
    const int submits = out->submits;
    out->cursor = POSITION_LIMIT + 1;
    dev.refill();
    EXPECT_EQ(out->resets, resets + 1);
    EXPECT_EQ(out->submits, submits + 1);
    // The lead is refilled before the ring plays again...
    EXPECT_EQ(dev.write_pos(), 6u * 1024);
    EXPECT_EQ(out->written.load(), 6u * 1024 * 2);
    EXPECT_TRUE(ring_silent());
    // ...so the first tick after the restart keeps playing instead of
    // taking the underrun path.
    set_cursor_values(441);
    dev.refill();
    EXPECT_EQ(dev.restart_countdown(), 0);
    EXPECT_EQ(dev.latency(), 6);
}

TEST_F(DeviceTest, CursorAtThePositionLimitIsStillTrusted)
{
    ASSERT_EQ(dev.init(), 0);
    out->cursor = POSITION_LIMIT;
    dev.refill(); // far past the writer: the underrun path, not a restart
    EXPECT_EQ(dev.latency(), 8);
    EXPECT_EQ(dev.write_pos(), 16384u);
    EXPECT_EQ(out->submits, 1);
}

TEST_F(DeviceTest, UnreadableCursorRestartsTheRing)
{
    ASSERT_EQ(dev.init(), 0);
    out->fail_position = true;
    dev.refill();
    EXPECT_EQ(out->resets, 1);
    EXPECT_EQ(out->submits, 2);
    EXPECT_EQ(dev.write_pos(), 6u * 1024);
}

TEST_F(DeviceTest, FailedSubmitIsReportedAndPlayingGoesOn)
{
    out->fail_submit = true;
    testing::internal::CaptureStdout();
    EXPECT_EQ(dev.init(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "waveOutWrite error\n");
    EXPECT_TRUE(dev.is_running());
    set_cursor_values(2048);
    dev.refill();
    EXPECT_EQ(dev.write_pos(), 8u * 1024);
}

TEST_F(DeviceTest, NoOutputMeansNoMixingAndNoPlay)
{
    out->refuse_open = true;
    EXPECT_EQ(dev.init(), 1);
    EXPECT_FALSE(dev.is_running());
    dev.refill();
    EXPECT_EQ(out->position_reads, 0);
    mixsample* s = create_mixsample(10, 16, 2, 22050, nullptr, 0);
    EXPECT_EQ(dev.play(s, nullptr, 0), nullptr);
    release_mixsample(s);
    dev.close();
    EXPECT_EQ(out->closes, 0);
}

TEST_F(DeviceTest, PlayComposesTheInitialState)
{
    ASSERT_EQ(dev.init(), 0);
    mixsample* once = create_mixsample(10, 16, 2, 22050, nullptr, 0);
    mixsample* loop = create_mixsample(10, 16, 2, 22050, nullptr, 1);
    EXPECT_EQ(dev.play(once, nullptr, 0)->state.load(), SOUND_PLAYING);
    EXPECT_EQ(dev.play(loop, nullptr, 0)->state.load(), SOUND_LOOPING);
    EXPECT_EQ(dev.play(loop, nullptr, 1)->state.load(), SOUND_LOOPING | SOUND_PAUSED);
    EXPECT_EQ(dev.play(once, nullptr, 1)->state.load(), SOUND_PLAYING | SOUND_PAUSED);
    release_mixsample(once);
    release_mixsample(loop);
}

TEST_F(DeviceTest, CloseStopsReleasesAndRetires)
{
    ASSERT_EQ(dev.init(), 0);
    mixsample* s = create_mixsample(100000, 16, 2, 22050, nullptr, 0);
    dev.play(s, nullptr, 0);
    EXPECT_EQ(s->refcount.load(), 2);
    dev.close();
    EXPECT_FALSE(dev.is_running());
    EXPECT_EQ(out->closes, 1);
    EXPECT_EQ(s->refcount.load(), 1);
    dev.refill(); // a late tick does nothing
    EXPECT_EQ(out->closes, 1);
    release_mixsample(s);
}

} // namespace
} // namespace vantrel::test
