// Ogg Vorbis loaded by name while the mixer is pulled on the test's thread:
// the sound is decoded as it plays, yet mixes exactly what the whole load
// mixes, with the same length, looped or not; only a little ahead of the
// mixer is decoded; damage inside the data ends it in silence; streams and
// threaded mixers still load whole.
#include "audio/mixer/mixsample.h"
#include "audio/mixer_backend.h"
#include "music_fixture.h"
#include "ogg_writer.h"

#include <algorithm>

namespace vantrel::test {
namespace {

mixsample& sample_of(const Ref<TSoundAsset>& sound)
{
    const Ref<TMixerSoundAsset> mixed = ref_cast<TMixerSoundAsset>(sound);
    EXPECT_TRUE(mixed);
    return *mixed->sample;
}

class DeferredOggTest : public MusicTest {
protected:
    Ref<TSoundAsset> by_path(const Bytes& file, int32_t flags)
    {
        return load_sound(Text::from_bytes(write_file("sound.ogg", file)), flags);
    }
};

TEST_F(DeferredOggTest, MixesTheFramesOfTheWholeLoad)
{
    Bytes chained = ogg_tone(9000, 2, 22050);
    const Bytes second = ogg_tone(7000, 2, 22050, 660);
    chained.insert(chained.end(), second.begin(), second.end());
    for (const Bytes& file : {ogg_tone(52920, 2, 44100), ogg_tone(26460, 1, 22050), chained}) {
        for (const int32_t flags : {0, 1}) {
            SCOPED_TRACE(flags);
            const Ref<TSampleBuffer> whole = load_sample_buffer(memory(file));
            ASSERT_TRUE(whole);
            const Ref<TSoundAsset> loaded = load_sound(whole, flags);
            const Ref<TSoundAsset> deferred = by_path(file, flags);
            ASSERT_TRUE(deferred);
            ASSERT_TRUE(sample_of(deferred).fill); // nothing decoded yet
            EXPECT_EQ(sample_of(deferred).ready, 0);
            EXPECT_EQ(sample_of(deferred).frames, whole->frames);
            EXPECT_EQ(sample_of(deferred).hertz, whole->hertz);
            EXPECT_EQ(sample_of(deferred).channels, sample_channels(whole->format));
            // Twice through, in blocks of 512 frames at 44.1 kHz.
            const int blocks = static_cast<int>(int64_t{2} * whole->frames * 44100 / whole->hertz / 512) + 10;
            const auto want = record(loaded, blocks);
            EXPECT_EQ(record(deferred, blocks), want);
            EXPECT_FALSE(sample_of(deferred).fill); // all there once played through
        }
    }
}

TEST_F(DeferredOggTest, DecodesOnlyALittleAheadOfTheMixer)
{
    const Ref<TSoundAsset> sound = by_path(ogg_tone(220500, 2, 22050), 0); // 10 s
    ASSERT_TRUE(sound);
    mixsample& sample = sample_of(sound);
    Ref<TVoice> voice = play_sound(sound, Ref<TVoice>());
    clock.advance(25);
    for (int i = 0; i < 20; ++i)
        block();
    // 20 blocks of 512 frames at 44.1 kHz read about 5120 frames at 22.05 kHz.
    EXPECT_GT(sample.ready, 1000);
    EXPECT_LT(sample.ready, 10000);
    EXPECT_GT(blocks_until_finished(voice, 2000), 0);
    EXPECT_FALSE(sample.fill);
}

TEST_F(DeferredOggTest, DamageInsideTheDataEndsInSilenceWithinTheStatedLength)
{
    Bytes damaged = ogg_tone(60000, 2, 22050);
    damaged[damaged.size() / 2] ^= 0x5A; // a page of sound whose checksum fails
    EXPECT_FALSE(load_sample_buffer(memory(damaged))); // a whole load refuses it
    const Ref<TSoundAsset> sound = by_path(damaged, 0);
    ASSERT_TRUE(sound);
    mixsample& sample = sample_of(sound);
    EXPECT_GT(sample.frames, 0);
    EXPECT_LE(sample.frames, 60000);
    Ref<TVoice> voice = play_sound(sound, Ref<TVoice>());
    clock.advance(25);
    const int took = blocks_until_finished(voice, 1000);
    EXPECT_GT(took, 0);
    EXPECT_LE(took, 2 * sample.frames / 512 + 2); // its own length, in blocks of 512
    EXPECT_FALSE(sample.fill);
}

TEST_F(DeferredOggTest, StreamsAndAThreadedMixerLoadWhole)
{
    const Bytes file = ogg_tone(9000, 2, 22050);
    EXPECT_FALSE(sample_of(load_sound(memory(file), 0)).fill);
    audio_shutdown();
    ASSERT_TRUE(audio_init_with(make_ref<FakeOutput>(), true));
    const Ref<TSoundAsset> threaded = by_path(file, 0);
    ASSERT_TRUE(threaded);
    EXPECT_FALSE(sample_of(threaded).fill);
    EXPECT_EQ(sample_of(threaded).frames, 9000);
}

} // namespace
} // namespace vantrel::test
