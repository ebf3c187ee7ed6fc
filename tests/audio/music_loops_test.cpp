// The game's eight embedded music loops: each decodes as 22050 Hz stereo
// 16-bit with the frame count of its data chunk, and with no audio output
// each still loads and plays silently.
#include "assets/registry.h"
#include "assets/stream.h"
#include "audio/audio.h"
#include "audio/mixer/mixsample.h"
#include "audio/mixer_backend.h"
#include "audio/sample_loader.h"
#include "fake_output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

void register_music_loops();

namespace vantrel::test {
namespace {

class MusicLoops : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        register_music_loops();
        streams_init();
        sample_loaders_init();
    }
    static Text location(int n) { return Text::from_bytes("incbin::sound" + std::to_string(n) + ".wav"); }
    static Text name(int n) { return Text::from_bytes("sound" + std::to_string(n) + ".wav"); }
};

// The data chunk's size, found by walking the chunks of the raw file.
int32_t data_chunk_size(const uint8_t* bytes, int32_t size)
{
    for (int32_t at = 12; at + 8 <= size;) {
        int32_t chunk;
        std::memcpy(&chunk, bytes + at + 4, 4);
        if (std::memcmp(bytes + at, "data", 4) == 0)
            return chunk;
        at += 8 + chunk;
    }
    return -1;
}

TEST_F(MusicLoops, EachDecodesAsStereoSixteenBitAt22050)
{
    for (int n = 1; n <= 8; ++n) {
        auto b = load_sample_buffer(location(n));
        ASSERT_TRUE(b) << n;
        EXPECT_EQ(b->format, SAMPLE_STEREO16_LE);
        EXPECT_EQ(b->hertz, 22050);
        const int32_t data = data_chunk_size(asset_data(name(n)), asset_size(name(n)));
        EXPECT_EQ(b->frames, data / 4) << n;
        EXPECT_GE(b->frames, 351232) << n;
        EXPECT_LE(b->frames, 352256) << n;
        // The samples are the file's bytes, untouched.
        const uint8_t* raw = asset_data(name(n));
        const uint8_t* end = raw + asset_size(name(n));
        const uint8_t tag[] = {'d', 'a', 't', 'a'};
        const uint8_t* found = std::search(raw, end, tag, tag + 4);
        ASSERT_NE(found, end);
        EXPECT_EQ(std::memcmp(b->data, found + 8, static_cast<size_t>(b->capacity)), 0) << n;
    }
}

TEST_F(MusicLoops, LoadAsMixerSoundsThatDoNotLoop)
{
    set_audio_backend(make_ref<TMixerBackend>());
    for (int n = 1; n <= 8; ++n) {
        auto snd = ref_cast<TMixerSoundAsset>(load_sound(location(n), 0));
        ASSERT_TRUE(snd) << n;
        EXPECT_EQ(snd->sample->loop, 0);
        EXPECT_EQ(snd->sample->channels, 2);
        EXPECT_EQ(snd->sample->bits, 16);
        EXPECT_EQ(snd->sample->hertz, 22050);
    }
    set_audio_backend(make_ref<TAudioBackend>());
}

TEST_F(MusicLoops, WithoutAnOutputEveryLoopLoadsAndPlaysSilently)
{
    auto refusing = make_ref<FakeOutput>();
    refusing->refuse_open = true;
    ASSERT_FALSE(audio_init_with(refusing, false));
    for (int n = 1; n <= 8; ++n) {
        auto snd = load_sound(location(n), 0);
        ASSERT_TRUE(snd) << n;
        auto voice = play_sound(snd, nullptr);
        ASSERT_TRUE(voice) << n;
        EXPECT_EQ(voice_playing(voice), 0);
    }
    audio_shutdown();
}

} // namespace
} // namespace vantrel::test
