// A host's audio callback pulls frames in whatever counts it likes; what it
// hears must be what the refill thread writes, block by block, for the same
// sounds.
#include "mixer_fixture.h"

#include "audio/audio_system.h"
#include "audio/mixer/ringdevice.h"
#include "fake_output.h"

#include <algorithm>

#include <cmath>

namespace vantrel::test {
namespace {

std::vector<int16_t> tone(int32_t frames, double step, int32_t amplitude)
{
    std::vector<int16_t> v;
    for (int32_t i = 0; i < frames; ++i) {
        const auto x = static_cast<int16_t>(amplitude * std::sin(i * step));
        v.push_back(x);
        v.push_back(static_cast<int16_t>(-x / 2));
    }
    return v;
}

class MixerPullTest : public MixerTest {
protected:
    MixerPullTest() : pulled(BLOCK)
    {
        pulled.rate = 44100;
        pulled.channels = 2;
    }

    // The same sounds on both mixers: a looping tone at a foreign rate, a
    // short loud one that saturates against it and ends mid-block.
    void start_both(const SampleRef& loop, const SampleRef& shot)
    {
        for (mixer* m : {&mix, &pulled}) {
            m->play(loop.get(), nullptr, SOUND_PLAYING, 0, 1);
            m->play(shot.get(), nullptr, SOUND_PLAYING, 0, 1);
        }
        clock.advance(25);
    }

    mixer pulled;
};

TEST_F(MixerPullTest, PulledFramesEqualTheRefillBlocksInAnyCounts)
{
    SampleRef loop(stereo16(tone(700, 0.05, 20000), 22050, true));
    SampleRef shot(stereo16(tone(1500, 0.3, 30000), 48000));
    start_both(loop, shot);

    std::vector<int16_t> written;
    for (int i = 0; i < 8; ++i) {
        const auto b = block();
        written.insert(written.end(), b.begin(), b.end());
    }
    std::vector<int16_t> heard(written.size(), 12345);
    const int32_t counts[] = {1, 300, 511, 512, 513, 777, 128};
    size_t at = 0;
    for (int i = 0; at < heard.size(); ++i) {
        const auto want = static_cast<size_t>(counts[i % 7]) * 2;
        const size_t n = std::min(want, heard.size() - at);
        pulled.pull(heard.data() + at, static_cast<int32_t>(n / 2));
        at += n;
    }
    EXPECT_EQ(heard, written);
    EXPECT_NE(std::count(written.begin(), written.end(), int16_t{0}),
              static_cast<std::ptrdiff_t>(written.size()));
    EXPECT_EQ(pulled.active_count(), mix.active_count());
}

TEST_F(MixerPullTest, NothingOrNegativeWritesNothing)
{
    std::vector<int16_t> out(4, 7);
    pulled.pull(out.data(), 0);
    pulled.pull(out.data(), -3);
    EXPECT_EQ(out, (std::vector<int16_t>{7, 7, 7, 7}));
}

TEST_F(MixerPullTest, TheDeviceGivesAHostItsMixerOrSilence)
{
    std::vector<int16_t> out(6, 7);
    audio_shutdown();
    pull_audio(out.data(), 3);
    EXPECT_EQ(out, std::vector<int16_t>(6, 0));

    ASSERT_TRUE(audio_init_with(make_ref<FakeOutput>(), false));
    SampleRef shot(stereo16(tone(900, 0.2, 25000), 44100));
    audio_device()->get_mixer()->play(shot.get(), nullptr, SOUND_PLAYING, 0, 1);
    pulled.play(shot.get(), nullptr, SOUND_PLAYING, 0, 1);
    clock.advance(25);
    std::vector<int16_t> heard(2000, 1), expected(2000, 2);
    pull_audio(heard.data(), 1000);
    pulled.pull(expected.data(), 1000);
    audio_shutdown();
    EXPECT_EQ(heard, expected);
    EXPECT_NE(heard, std::vector<int16_t>(2000, 0));
}

} // namespace
} // namespace vantrel::test
