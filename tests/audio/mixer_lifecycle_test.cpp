// The mixer's sound lifecycle: the start delay, the end rule and retirement,
// looping, the two rings and the reuse of sounds.
#include "mixer_fixture.h"

#include <algorithm>
#include <cstring>

namespace vantrel::test {
namespace {

std::vector<int16_t> constant(size_t n, int16_t v) { return std::vector<int16_t>(n, v); }

size_t first_nonzero(const std::vector<int16_t>& v)
{
    for (size_t i = 0; i < v.size(); ++i)
        if (v[i] != 0)
            return i;
    return v.size();
}

TEST_F(MixerTest, TakenInFiveMsLateWaits661Frames)
{
    SampleRef s(mono16(constant(3000, 100), 44100));
    mix.play(s.get(), nullptr, SOUND_PLAYING, 0, 1);
    clock.advance(5);
    const auto out = two_blocks();
    EXPECT_EQ(first_nonzero(out), 2u * 661);
    EXPECT_EQ(out.at(2 * 661), 100);
}

TEST_F(MixerTest, TakenInTwentyFiveMsLateSoundsAtOnce)
{
    SampleRef s(mono16(constant(3000, 100), 44100));
    mix.play(s.get(), nullptr, SOUND_PLAYING, 0, 1);
    clock.advance(25);
    EXPECT_EQ(block()[0], 100);
}

TEST_F(MixerTest, DelayLongerThanABlockCarriesIntoTheNext)
{
    SampleRef s(mono16(constant(3000, 100), 44100));
    mix.play(s.get(), nullptr, SOUND_PLAYING, 0, 1);
    // Taken in at once: 20 ms is 882 frames, 512 in this block, 370 in the next.
    const auto first = block();
    EXPECT_EQ(first_nonzero(first), first.size());
    const auto second = block();
    EXPECT_EQ(first_nonzero(second), 2u * 370);
}

TEST_F(MixerTest, DelayWorksAcrossTheClockWrap)
{
    clock.set(0xFFFFFFFEu);
    SampleRef s(mono16(constant(3000, 100), 44100));
    mix.play(s.get(), nullptr, SOUND_PLAYING, 0, 1);
    clock.advance(5); // wraps past 0
    EXPECT_EQ(first_nonzero(two_blocks()), 2u * 661);
}

TEST_F(MixerTest, OneShotEndingMidBlockIsRetiredOneBlockLater)
{
    auto* raw = mono16(constant(300, 700), 44100);
    sound* snd = start(raw);
    const auto out = block();
    EXPECT_EQ(out[2 * 299], 700);
    EXPECT_EQ(out[2 * 300], 0);
    EXPECT_EQ(snd->state.load(), SOUND_DEAD);
    EXPECT_EQ(mix.active_count(), 1);
    EXPECT_EQ(raw->refcount.load(), 2);

    release_mixsample(raw); // the sound's reference is now the last one
    block();
    EXPECT_EQ(mix.active_count(), 0);
    EXPECT_EQ(snd->sample, nullptr);
    sound* back = nullptr;
    ASSERT_TRUE(mix.free.pop(back));
    EXPECT_EQ(back, snd);
}

TEST_F(MixerTest, OneShotWithoutAutoReleaseStopsAndStaysListed)
{
    SampleRef s(mono16(constant(10, 1), 44100));
    sound* snd = start(s.get(), SOUND_PLAYING, 0);
    block();
    EXPECT_EQ(snd->state.load(), SOUND_STOPPED);
    block();
    block();
    EXPECT_EQ(mix.active_count(), 1);
    EXPECT_EQ(s.get()->refcount.load(), 2);
    snd->auto_release = 1; // what a stop does
    block();
    EXPECT_EQ(snd->state.load(), SOUND_DEAD);
    block();
    EXPECT_EQ(mix.active_count(), 0);
    EXPECT_EQ(s.get()->refcount.load(), 1);
}

TEST_F(MixerTest, LoopingWrapsSeamlesslyUsingFrameZeroAsNeighbour)
{
    // 22050 Hz: the frame between the last frame and the wrap is their mean.
    SampleRef s(stereo16({100, -100, 200, -200, 301, -301}, 22050, true));
    start(s.get(), SOUND_LOOPING);
    const auto out = block();
    const std::vector<int16_t> cycle = {100, -100, 150, -150, 200, -200, 250, -251,
                                        301, -301, 200, -201};
    for (size_t i = 0; i < 1024; ++i)
        ASSERT_EQ(out[i], cycle[i % cycle.size()]) << "value " << i;
}

TEST_F(MixerTest, LoopingSurvivesAStepLongerThanTheSample)
{
    SampleRef s(mono16({1, 2, 3}, 44100, true));
    sound* snd = start(s.get(), SOUND_LOOPING);
    snd->reset_settings(7 * 65536, VOLUME_UNITY, 0, 0);
    const auto out = block();
    // Position k * 7 mod 3: 0, 1, 2, 0, ...
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(out[2], 2);
    EXPECT_EQ(out[4], 3);
    EXPECT_EQ(out[6], 1);
    EXPECT_LT(snd->pos_int(), 3);
}

TEST_F(MixerTest, LoopingSampleWithoutFramesIsRefused)
{
    SampleRef looped(create_mixsample(0, 16, 2, 22050, nullptr, 1));
    EXPECT_EQ(mix.play(looped.get(), nullptr, SOUND_LOOPING), nullptr);
    SampleRef plain(create_mixsample(0, 16, 2, 22050, nullptr, 0));
    EXPECT_EQ(mix.play(plain.get(), nullptr, SOUND_LOOPING), nullptr);
    EXPECT_EQ(looped.get()->refcount.load(), 1);
}

TEST_F(MixerTest, OneShotWithoutFramesFinishesWithoutReading)
{
    SampleRef s(create_mixsample(0, 16, 2, 22050, nullptr, 0));
    sound* snd = start(s.get());
    ASSERT_NE(snd, nullptr);
    EXPECT_EQ(first_nonzero(block()), size_t{BLOCK});
    EXPECT_EQ(snd->state.load(), SOUND_DEAD);
}

TEST_F(MixerTest, PlayRefusesWithoutSampleOrOutputRate)
{
    EXPECT_EQ(mix.play(nullptr, nullptr, SOUND_PLAYING), nullptr);
    SampleRef s(mono16({1}, 44100));
    mix.rate = 0;
    EXPECT_EQ(mix.play(s.get(), nullptr, SOUND_PLAYING), nullptr);
    EXPECT_EQ(s.get()->refcount.load(), 1);
}

TEST_F(MixerTest, FullIncomingRingRefusesThePlay)
{
    SampleRef s(mono16({1, 2}, 44100));
    for (uint32_t i = 0; i < MIXER_RING_SLOTS - 1; ++i)
        ASSERT_NE(mix.play(s.get(), nullptr, SOUND_PLAYING), nullptr) << i;
    EXPECT_EQ(mix.play(s.get(), nullptr, SOUND_PLAYING), nullptr);
    EXPECT_EQ(s.get()->refcount.load(), static_cast<int32_t>(MIXER_RING_SLOTS));
    block();
    EXPECT_NE(mix.play(s.get(), nullptr, SOUND_PLAYING), nullptr);
}

TEST_F(MixerTest, RingsWrapAroundAndSoundsAreReused)
{
    SampleRef s(mono16({1, 2}, 44100));
    std::vector<sound*> seen;
    // Many more start-retire cycles than ring slots: the indices wrap many
    // times and only a handful of sound objects are ever made.
    for (int i = 0; i < 3 * static_cast<int>(MIXER_RING_SLOTS) + 17; ++i) {
        sound* snd = mix.play(s.get(), nullptr, SOUND_PLAYING, 0, 1);
        ASSERT_NE(snd, nullptr);
        if (std::find(seen.begin(), seen.end(), snd) == seen.end())
            seen.push_back(snd);
        clock.advance(25);
        block();
        block();
    }
    EXPECT_LE(seen.size(), 3u);
    EXPECT_NE(mix.incoming.write_index(), 0u);
    EXPECT_EQ(s.get()->refcount.load(), 1);
}

TEST_F(MixerTest, ReusingASoundReleasesItsChannelHandle)
{
    std::vector<uint32_t> released;
    mix.set_handle_release(
        [](void* user, uint32_t h, sound*) {
            static_cast<std::vector<uint32_t>*>(user)->push_back(h);
        },
        &released);
    SampleRef s(mono16({1, 2}, 44100));
    sound* snd = start(s.get(), SOUND_PLAYING, 1);
    snd->handle = 8193;
    block();
    block();
    sound* again = mix.acquire_sound(nullptr);
    EXPECT_EQ(again, snd);
    EXPECT_EQ(again->handle, 0u);
    EXPECT_EQ(released, std::vector<uint32_t>{8193});
}

TEST_F(MixerTest, AcquireCopiesTheParentsTargets)
{
    sound* parent = mix.acquire_sound(nullptr);
    parent->set_rate(1000);
    parent->set_volume(77);
    parent->set_pan(-5);
    parent->set_surround(-1);
    sound* child = mix.acquire_sound(parent);
    EXPECT_EQ(child->get_rate(0), 1000);
    EXPECT_EQ(child->get_volume(0), 77);
    EXPECT_EQ(child->get_pan(0), -5);
    EXPECT_EQ(child->get_surround(0), -1);
    EXPECT_EQ(child->state.load(), SOUND_STOPPED);
    sound* plain = mix.acquire_sound(&mix);
    EXPECT_EQ(plain->get_rate(1), RATE_UNITY);
    EXPECT_EQ(plain->get_volume(1), VOLUME_UNITY);
}

TEST_F(MixerTest, RetireAllReleasesStartedAndPlayingSounds)
{
    SampleRef s(mono16(constant(5000, 1), 44100));
    start(s.get());
    block();
    mix.play(s.get(), nullptr, SOUND_LOOPING);
    EXPECT_EQ(s.get()->refcount.load(), 3);
    mix.retire_all();
    EXPECT_EQ(s.get()->refcount.load(), 1);
    EXPECT_EQ(mix.active, nullptr);
}

TEST_F(MixerTest, ShortAndOversizedBlockRequests)
{
    SampleRef s(mono16(constant(5000, 3), 44100));
    start(s.get());
    std::vector<int16_t> small(10, 99);
    mix.mix_s16(small.data(), 10);
    EXPECT_EQ(small[9], 3);
    std::vector<int16_t> one(1, 99);
    mix.mix_s16(one.data(), 1); // no whole frame: nothing mixed, nothing divided by 0
    EXPECT_EQ(one[0], 0);
    std::vector<int16_t> big(4 * BLOCK, 99);
    mix.mix_s16(big.data(), 4 * BLOCK); // clamped to the accumulator
    EXPECT_EQ(big[BLOCK - 1], 3);
    EXPECT_EQ(big[BLOCK], 99);
}

TEST(MixSample, GuardFrameCopiesTheFirstOrTheLastFrame)
{
    const int16_t v[] = {1, 2, 3, 4};
    SampleRef loop(create_mixsample(2, 16, 2, 22050, v, 1));
    SampleRef once(create_mixsample(2, 16, 2, 22050, v, 0));
    int16_t g[2];
    std::memcpy(g, loop.get()->data + 8, 4);
    EXPECT_EQ(g[0], 1);
    EXPECT_EQ(g[1], 2);
    std::memcpy(g, once.get()->data + 8, 4);
    EXPECT_EQ(g[0], 3);
    EXPECT_EQ(g[1], 4);
    EXPECT_EQ(once.get()->size, 8u);
    EXPECT_EQ(once.get()->bytes_per_frame, 4);
}

TEST(MixSample, RefusesLayoutsTheMixerCannotPlay)
{
    EXPECT_EQ(create_mixsample(1, 24, 2, 22050, nullptr, 0), nullptr);
    EXPECT_EQ(create_mixsample(1, 16, 3, 22050, nullptr, 0), nullptr);
    EXPECT_EQ(create_mixsample(-1, 16, 2, 22050, nullptr, 0), nullptr);
    SampleRef silent(create_mixsample(3, 8, 1, 8000, nullptr, 0));
    EXPECT_EQ(silent.get()->data[0], 128);
    EXPECT_EQ(silent.get()->data[3], 128);
}

} // namespace
} // namespace vantrel::test
