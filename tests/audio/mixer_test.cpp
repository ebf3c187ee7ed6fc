// The mixer's arithmetic: exact reproduction, interpolation, gains, ramps,
// saturation, the start delay, the end rule and looping.
#include "mixer_fixture.h"

#include <algorithm>
#include <cstring>

#include <numeric>

namespace vantrel::test {
namespace {

std::vector<int16_t> ramp_values(size_t n, int seed)
{
    std::vector<int16_t> v(n);
    uint32_t x = static_cast<uint32_t>(seed) * 2654435761u + 1;
    for (auto& s : v) {
        x = x * 1664525u + 1013904223u;
        s = static_cast<int16_t>(x >> 16);
    }
    return v;
}

TEST_F(MixerTest, UnityReproducesA44100StereoSampleExactly)
{
    const auto values = ramp_values(2 * 1500, 1);
    SampleRef s(stereo16(values, 44100));
    start(s.get());
    std::vector<int16_t> out;
    for (int b = 0; b < 3; ++b) {
        auto blk = block();
        out.insert(out.end(), blk.begin(), blk.end());
    }
    ASSERT_GE(out.size(), values.size());
    for (size_t i = 0; i < values.size(); ++i)
        ASSERT_EQ(out[i], values[i]) << "value " << i;
    for (size_t i = values.size(); i < out.size(); ++i)
        ASSERT_EQ(out[i], 0) << "after the end, value " << i;
}

TEST_F(MixerTest, HalfRateAlternatesSourceFramesAndFlooredMeans)
{
    // Odd differences lose their half toward minus infinity.
    SampleRef s(stereo16({0, 0, 3, -3, 10, 11, 10, 11}, 22050));
    start(s.get());
    const auto out = block();
    const std::vector<int16_t> expect = {0, 0, 1, -2, 3, -3, 6, 4, 10, 11, 10, 11, 10, 11, 10, 11};
    for (size_t i = 0; i < expect.size(); ++i)
        EXPECT_EQ(out[i], expect[i]) << "value " << i;
    EXPECT_EQ(out[16], 0); // the one-shot ended with its last frame and the guard
}

TEST_F(MixerTest, InterpolationProductWiderThan32BitsIsExact)
{
    // Three quarters speed puts the fraction at 0.75 on the second frame:
    // 65535 * 49152 does not fit in 32 bits.
    SampleRef s(mono16({-32768, 32767, 32767, 32767}, 44100));
    sound* snd = start(s.get());
    snd->reset_settings(49152, VOLUME_UNITY, 0, 0);
    const auto out = block();
    EXPECT_EQ(out[0], -32768);
    EXPECT_EQ(out[2], -32768 + ((65535 * int64_t{49152}) >> 16));
    EXPECT_EQ(out[3], out[2]);
    EXPECT_EQ(out[4], 32767);
}

TEST_F(MixerTest, EightBitSamplesMapToSigned16)
{
    const uint8_t bytes[] = {0, 128, 255, 64};
    SampleRef s(create_mixsample(4, 8, 1, 44100, bytes, 0));
    start(s.get());
    const auto out = block();
    EXPECT_EQ(out[0], -32768);
    EXPECT_EQ(out[1], -32768);
    EXPECT_EQ(out[2], 0);
    EXPECT_EQ(out[4], 255 * 256 - 32768);
    EXPECT_EQ(out[6], 64 * 256 - 32768);
    EXPECT_EQ(out[8], 0);
}

TEST_F(MixerTest, EightBitStereoInterpolatesEachChannel)
{
    const uint8_t bytes[] = {0, 255, 2, 253};
    SampleRef s(create_mixsample(2, 8, 2, 22050, bytes, 0));
    start(s.get());
    const auto out = block();
    EXPECT_EQ(out[0], -32768);
    EXPECT_EQ(out[1], 255 * 256 - 32768);
    EXPECT_EQ(out[2], 0 * 256 + ((2 * 32768) >> 8) - 32768);
    EXPECT_EQ(out[3], 255 * 256 + ((-2 * 32768) >> 8) - 32768);
}

TEST_F(MixerTest, TwoFullScaleSoundsSaturateInsteadOfWrapping)
{
    SampleRef hi(mono16({32767, 30000, -32768, -30000}, 44100));
    start(hi.get());
    start(hi.get());
    const auto out = block();
    EXPECT_EQ(out[0], 32767);
    EXPECT_EQ(out[1], 32767);
    EXPECT_EQ(out[2], 32767);
    EXPECT_EQ(out[4], -32768);
    EXPECT_EQ(out[6], -32768);
}

TEST_F(MixerTest, FullRightPanSilencesLeft)
{
    SampleRef s(mono16({1000, 1000, 1000, 1000}, 44100));
    sound* snd = start(s.get());
    snd->set_pan(4096);
    const auto out = block();
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 1000);
}

TEST_F(MixerTest, HalfLeftPanHalvesRight)
{
    SampleRef s(mono16({1001, 1001, -1001, -1001}, 44100));
    sound* snd = start(s.get());
    snd->set_pan(-2048);
    const auto out = block();
    EXPECT_EQ(out[0], 1001);
    EXPECT_EQ(out[1], 500);
    EXPECT_EQ(out[4], -1001);
    EXPECT_EQ(out[5], -501);
}

TEST_F(MixerTest, NegativeSurroundInvertsRightExactly)
{
    const auto values = ramp_values(400, 7);
    std::vector<int16_t> safe(values);
    for (auto& v : safe)
        v = static_cast<int16_t>(v == -32768 ? -32767 : v);
    SampleRef s(mono16(safe, 44100));
    sound* snd = start(s.get());
    snd->set_surround(-1);
    const auto out = block();
    for (size_t k = 0; k < safe.size(); ++k) {
        ASSERT_EQ(out[2 * k], safe[k]);
        ASSERT_EQ(out[2 * k + 1], -out[2 * k]) << "frame " << k;
    }
}

TEST_F(MixerTest, VolumeDropFadesLinearlyAcrossOneBlock)
{
    SampleRef s(mono16(std::vector<int16_t>(4000, 2048), 44100));
    sound* snd = start(s.get());
    block();
    snd->set_volume(0);
    const auto out = block();
    // Volume steps by (0 - 4096 * 256) / 512 = -2048 per frame: 4096 - 8k.
    for (int k = 0; k < 512; ++k) {
        const int32_t volume = 4096 - 8 * k;
        ASSERT_EQ(out[2 * k], ((2048 * volume) >> 8) >> 4) << "frame " << k;
    }
    EXPECT_EQ(out[0], 2048);
    EXPECT_EQ(out[2 * 511], 4);
    EXPECT_EQ(snd->get_volume(0), 0);
    const auto after = block();
    EXPECT_TRUE(std::all_of(after.begin(), after.end(), [](int16_t v) { return v == 0; }));
}

TEST_F(MixerTest, VolumeRaiseReachesTargetOnlyAtTheNextBlock)
{
    SampleRef s(mono16(std::vector<int16_t>(4000, 4096), 44100));
    sound* snd = start(s.get());
    snd->reset_settings(RATE_UNITY, 0, 0, 0);
    block();
    snd->set_volume(4096);
    const auto out = block();
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[2 * 511], ((4096 * (8 * 511)) >> 8) >> 4);
    const auto next = block();
    EXPECT_EQ(next[0], 4096);
}

TEST_F(MixerTest, SettingsMadeWhilePausedApplyAtOnceOnResume)
{
    SampleRef s(mono16(std::vector<int16_t>(4000, 2000), 44100));
    sound* snd = start(s.get());
    block();
    snd->state.fetch_or(SOUND_PAUSED);
    const auto paused = block();
    EXPECT_EQ(paused[0], 0);
    snd->set_volume(2048);
    snd->state.fetch_and(~SOUND_PAUSED);
    const auto out = block();
    EXPECT_EQ(out[0], 1000);
    EXPECT_EQ(out[2 * 511], 1000);
}

TEST_F(MixerTest, PausedSoundKeepsItsPosition)
{
    std::vector<int16_t> values(2000);
    std::iota(values.begin(), values.end(), int16_t{0});
    SampleRef s(mono16(values, 44100));
    sound* snd = start(s.get());
    block();
    snd->state.fetch_or(SOUND_PAUSED);
    block();
    block();
    snd->state.fetch_and(~SOUND_PAUSED);
    EXPECT_EQ(block()[0], 512);
}

TEST_F(MixerTest, SpeedRampMovesThePositionByTheSumOfItsSteps)
{
    SampleRef s(mono16(std::vector<int16_t>(100000, 0), 44100));
    sound* snd = start(s.get());
    block();
    ASSERT_EQ(snd->pos_int(), 512);
    snd->set_rate(3 * 65536);
    block();
    // increment k = 2^32 + k * ((3 * 2^32 - 2^32) / 512) for k = 0 .. 511.
    const uint64_t step = (uint64_t{2} << 32) / 512;
    const uint64_t moved = 512 * (uint64_t{1} << 32) + step * (511 * 512 / 2);
    EXPECT_EQ(snd->position, (uint64_t{512} << 32) + moved);
    EXPECT_EQ(snd->get_rate(0), 3 * 65536);
    const uint64_t before = snd->position;
    block();
    EXPECT_EQ(snd->position - before, uint64_t{3 * 512} << 32);
}

TEST_F(MixerTest, SilentSoundAdvancesWithoutMixing)
{
    SampleRef s(mono16(std::vector<int16_t>(1200, 9000), 44100));
    sound* snd = start(s.get());
    snd->reset_settings(RATE_UNITY, 0, 0, 0);
    EXPECT_EQ(block()[0], 0);
    EXPECT_EQ(snd->pos_int(), 512);
    block();
    EXPECT_EQ(snd->pos_int(), 1024);
    block();
    EXPECT_EQ(snd->state.load(), SOUND_DEAD);
}

TEST_F(MixerTest, NegativeRateHoldsStillInsideTheFrames)
{
    SampleRef s(mono16({5, 6, 7}, 44100));
    sound* snd = start(s.get());
    snd->reset_settings(-65536, VOLUME_UNITY, 0, 0);
    const auto out = block();
    EXPECT_EQ(out[0], 5);
    EXPECT_EQ(out[1022], 5);
    EXPECT_EQ(snd->position, 0u);
}

} // namespace
} // namespace vantrel::test
