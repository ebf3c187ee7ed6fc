// End to end through SDL's disk audio driver: what the device hands to SDL is
// captured in a file and compared, value for value, with the mixer's output
// for the same sound mixed directly.
#include "audio/audio.h"
#include "audio/mixer/mixer.h"
#include "audio/mixer/mixsample.h"
#include "audio/mixer/sdldevice.h"
#include "audio/mixer_backend.h"
#include "input/clock.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vantrel::test {
namespace {

// A 22050 Hz stereo sound whose first frame is not silent, so that its
// start can be found in the capture.
Ref<TSampleBuffer> pattern(int32_t frames)
{
    auto b = create_sample_buffer(frames, 22050, SAMPLE_STEREO16_LE);
    auto* v = reinterpret_cast<int16_t*>(b->data);
    for (int32_t i = 0; i < frames; ++i) {
        v[2 * i] = static_cast<int16_t>(1000 + (i * 37) % 20000);
        v[2 * i + 1] = static_cast<int16_t>(-1000 - (i * 53) % 20000);
    }
    return b;
}

// The mixer's output for the sound alone, from its first frame.
std::vector<int16_t> expected_output(const Ref<TSampleBuffer>& b)
{
    mixer m(DEVICE_FRAGMENT);
    m.rate = 44100;
    m.channels = 2;
    mixsample* s = create_mixsample(b->frames, 16, 2, b->hertz, b->data, 0);
    m.play(s, nullptr, SOUND_PLAYING);
    std::vector<int16_t> out;
    std::vector<int16_t> block(DEVICE_FRAGMENT);
    bool started = false;
    while (out.size() < static_cast<size_t>(b->frames) * 4 + DEVICE_FRAGMENT) {
        m.mix_s16(block.data(), 0);
        for (int16_t v : block)
            if (started || v != 0) {
                started = true;
                out.push_back(v);
            }
    }
    release_mixsample(s);
    return out;
}

TEST(SdlOutput, DiskDriverCaptureMatchesTheMixer)
{
    const std::string file = testing::TempDir() + "vantrel_audio_capture.raw";
    std::remove(file.c_str());
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    ASSERT_EQ(audio_init(), 0);
    const auto buffer = pattern(4410); // 0.2 s
    auto snd = load_sound(Ref<TObject>(buffer), 0);
    ASSERT_TRUE(ref_cast<TMixerSoundAsset>(snd));
    auto voice = play_sound(snd, nullptr);
    ASSERT_TRUE(voice);
    // The lead, the start delay and the sound: well under a second.
    for (int i = 0; i < 200 && voice_playing(voice); ++i)
        delay(10);
    delay(150);
    audio_shutdown();

    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    std::vector<int16_t> captured(bytes.size() / 2);
    std::memcpy(captured.data(), bytes.data(), captured.size() * 2);
    size_t first = 0;
    while (first < captured.size() && captured[first] == 0)
        ++first;
    const auto expected = expected_output(buffer);
    ASSERT_GE(captured.size(), first + 4410 * 4) << "capture too short";
    EXPECT_EQ(first % 2, 0u); // starts on a frame
    for (size_t i = 0; i < 4410 * 4; ++i)
        ASSERT_EQ(captured[first + i], expected[i]) << "value " << i;
    for (size_t i = first + 4410 * 4; i < captured.size(); ++i)
        ASSERT_EQ(captured[i], 0) << "after the sound, value " << i;
    std::remove(file.c_str());
}

} // namespace
} // namespace vantrel::test
