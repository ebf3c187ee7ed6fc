// Ogg Vorbis music decoded on the decoder thread while the device's refill
// thread mixes it and the main thread starts, steers and stops its plays:
// each play's libvorbisfile state stays on the decoder thread.
#include "assets/memory_stream.h"
#include "audio/audio.h"
#include "audio/mixer/mixstream.h"
#include "audio/music.h"
#include "audio/ogg.h"
#include "audio/sample_loader.h"
#include "fake_output.h"
#include "ogg_writer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace vantrel::test {
namespace {

TEST(MusicThreads, OggMusicDecodedWhileTheRefillThreadMixes)
{
    streams_init();
    sample_loaders_init();
    ogg_loader_init();
    auto out = make_ref<FakeOutput>();
    out->advance_per_read = 2048;
    ASSERT_TRUE(audio_init_with(out, true));
    const std::vector<uint8_t> file = encode_ogg(sine_frames(44100, 2, 44100, 440), 2, 44100);
    const Ref<TObject> stream = create_memory_stream(file.data(), static_cast<int32_t>(file.size()), 1, 0);
    const Ref<TSoundAsset> music = open_music(stream, 1);
    ASSERT_TRUE(music);
    std::vector<Ref<TVoice>> voices;
    for (int i = 0; i < 12; ++i) {
        Ref<TVoice> v = play_sound(music, Ref<TVoice>());
        if (!v)
            continue;
        voices.push_back(v);
        set_voice_rate(v, 0.75f + 0.25f * (i % 4));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (i % 3 == 2)
            stop_voice(voices[voices.size() / 3]);
    }
    EXPECT_EQ(voices.size(), 12u);
    if (!voices.empty()) {
        EXPECT_EQ(voice_playing(voices.back()), 1); // looping
    }
    audio_shutdown();
    EXPECT_EQ(mixstream_bytes(), 0u);
}

} // namespace
} // namespace vantrel::test
