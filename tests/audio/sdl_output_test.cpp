// End to end through SDL's disk audio driver: what the device hands to SDL is
// captured in a file and compared, value for value, with the mixer's output
// for the same sound mixed directly. The SDL output itself: reopening the
// default output, and what a closed one answers.
#include "audio/audio.h"
#include "audio/audio_system.h"
#include "audio/mixer/mixer.h"
#include "audio/mixer/mixsample.h"
#include "audio/mixer/ringdevice.h"
#include "audio/mixer_backend.h"
#include "input/clock.h"
#include "platform/sdl/sdl_audio_output.h"
#include "platform/sdl/sdl_platform.h"

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

void set_env(const char* name, const char* value)
{
#ifdef _WIN32
    _putenv_s(name, value);
#else
    setenv(name, value, 1);
#endif
}

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

struct Capture {
    std::vector<int16_t> values;
    int32_t underruns = 0;
};

// Plays the sound once through the SDL device on the disk driver and returns
// what SDL was handed.
Capture play_and_capture(const Ref<TSampleBuffer>& buffer, const std::string& file)
{
    std::remove(file.c_str());
    set_env("SDL_AUDIODRIVER", "disk");
    set_env("SDL_DISKAUDIOFILE", file.c_str());
    Capture c;
    platform::sdl_platform_init();
    if (audio_init() != 0)
        return c;
    auto voice = play_sound(load_sound(Ref<TObject>(buffer), 0), nullptr);
    // The lead, the start delay and the sound: well under a second.
    for (int i = 0; i < 200 && voice && voice_playing(voice); ++i)
        delay(10);
    delay(150);
    c.underruns = audio_device()->underruns();
    audio_shutdown();
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    c.values.resize(bytes.size() / 2);
    std::memcpy(c.values.data(), bytes.data(), c.values.size() * 2);
    std::remove(file.c_str());
    return c;
}

TEST(SdlOutput, DiskDriverCaptureMatchesTheMixer)
{
    const std::string file = testing::TempDir() + "vantrel_audio_capture.raw";
    const auto buffer = pattern(4410); // 0.2 s
    const auto expected = expected_output(buffer);
    const size_t length = 4410 * 4;
    // A machine too busy to refill in time clears the ring (an underrun) and
    // loses part of the sound: only then is the capture taken again.
    Capture c;
    for (int attempt = 0; attempt < 3; ++attempt) {
        c = play_and_capture(buffer, file);
        if (c.underruns == 0)
            break;
    }
    ASSERT_FALSE(c.values.empty()) << "no capture";
    ASSERT_EQ(c.underruns, 0) << "the refill thread never kept up";
    size_t first = 0;
    while (first < c.values.size() && c.values[first] == 0)
        ++first;
    ASSERT_GE(c.values.size(), first + length) << "capture too short";
    EXPECT_EQ(first % 2, 0u); // starts on a frame
    for (size_t i = 0; i < length; ++i)
        ASSERT_EQ(c.values[first + i], expected[i]) << "value " << i;
    for (size_t i = first + length; i < c.values.size(); ++i)
        ASSERT_EQ(c.values[i], 0) << "after the sound, value " << i;
}

// The cursor moves within two seconds of a submit.
bool cursor_moves(platform::AudioOutput& output)
{
    uint32_t first = 0, now = 0;
    if (!output.position(first))
        return false;
    for (int i = 0; i < 200; ++i) {
        delay(10);
        if (output.position(now) && now != first)
            return true;
    }
    return false;
}

// SDL's disk driver disconnects its device when a write fails: writing to
// /dev/full unplugs it. The device notices, mixes on unheard, and reopens
// once the driver's file is a writable one again; the loop started while it
// was missing is then heard in that file.
TEST(SdlOutput, DiskDriverThatFailsIsLostAndReopened)
{
    const std::string file = testing::TempDir() + "vantrel_reopened.raw";
    std::remove(file.c_str());
    set_env("SDL_AUDIODRIVER", "disk");
    set_env("SDL_DISKAUDIOFILE", "/dev/full");
    ASSERT_TRUE(audio_init_with(platform::create_sdl_audio_output(), true));
    ringdevice* dev = audio_device();
    for (int i = 0; i < 300 && !dev->is_missing(); ++i)
        delay(10);
    ASSERT_TRUE(dev->is_missing()) << "the failing disk output was not noticed";
    // The next attempt is a second away: time enough to name a real file.
    set_env("SDL_DISKAUDIOFILE", file.c_str());
    auto loop = load_sound(Ref<TObject>(pattern(2205)), 1);
    play_sound(loop, nullptr);
    for (int i = 0; i < 300 && dev->is_missing(); ++i)
        delay(10);
    EXPECT_FALSE(dev->is_missing());
    EXPECT_EQ(dev->losses(), 1);
    EXPECT_EQ(dev->reopens(), 1);
    delay(300);
    audio_shutdown();
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    std::remove(file.c_str());
    size_t loud = 0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        loud += bytes[i] != 0 || bytes[i + 1] != 0;
    EXPECT_GT(loud, 4410u) << "the loop is not heard after the reopen (" << bytes.size() << " bytes)";
}

TEST(SdlOutput, ReopenStartsTheDefaultOutputAgain)
{
    set_env("SDL_AUDIODRIVER", "dummy");
    std::vector<uint8_t> ring(32 * 2048);
    auto output = platform::create_sdl_audio_output();
    // Refused formats and rings.
    EXPECT_FALSE(output->open(44100, 2, 12, ring.data(), 4096));
    EXPECT_FALSE(output->open(44100, 2, 16, nullptr, 4096));
    EXPECT_FALSE(output->open(44100, 2, 16, ring.data(), 0));
    EXPECT_FALSE(output->lost());
    EXPECT_FALSE(output->reopen()); // never opened: nothing to reopen
    ASSERT_TRUE(output->open(44100, 2, 16, ring.data(), static_cast<uint32_t>(ring.size())));
    ASSERT_TRUE(output->submit());
    EXPECT_TRUE(cursor_moves(*output));
    EXPECT_FALSE(output->lost());
    ASSERT_TRUE(output->reopen());
    EXPECT_FALSE(output->lost());
    uint32_t bytes = 1;
    ASSERT_TRUE(output->position(bytes));
    EXPECT_EQ(bytes, 0u); // paused at the start until submitted
    ASSERT_TRUE(output->submit());
    EXPECT_TRUE(cursor_moves(*output));
    output->close();
    EXPECT_FALSE(output->lost());
    EXPECT_FALSE(output->reopen());
    EXPECT_FALSE(output->position(bytes));
}

} // namespace
} // namespace vantrel::test
