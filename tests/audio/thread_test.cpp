// The mixer's two threads at work: thousands of sounds started, steered,
// stopped and retired from the main thread while another thread mixes.
// Meant for ThreadSanitizer (-DVANTREL_TSAN=ON) as much as for the checks.
#include "audio/audio.h"
#include "audio/channel_table.h"
#include "audio/mixer/mixsample.h"
#include "audio/mixer/ringdevice.h"
#include "audio/mixer_backend.h"
#include "fake_output.h"
#include "input/clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace vantrel::test {
namespace {

Ref<TSampleBuffer> short_buffer(int32_t frames)
{
    auto b = create_sample_buffer(frames, 22050, SAMPLE_STEREO16_LE);
    auto* v = reinterpret_cast<int16_t*>(b->data);
    for (int32_t i = 0; i < 2 * frames; ++i)
        v[i] = static_cast<int16_t>(i * 97);
    return b;
}

TEST(MixerThreads, DirectMixingThreadAgainstMainThreadPlays)
{
    mixer m(1024);
    m.rate = 44100;
    m.channels = 2;
    mixsample* s = create_mixsample(300, 16, 2, 22050, nullptr, 0);
    std::atomic<bool> stop{false};
    std::thread mixing([&] {
        std::vector<int16_t> out(1024);
        while (!stop.load())
            m.mix_s16(out.data(), 0);
    });
    int started = 0;
    int refused = 0;
    while (started < 10000) {
        const int i = started;
        sound* snd = m.play(s, nullptr, (i % 7 == 0) ? SOUND_LOOPING : SOUND_PLAYING, 0, 1);
        if (!snd) { // the incoming ring is full until the mixing thread drains it
            ++refused;
            std::this_thread::yield();
            continue;
        }
        ++started;
        snd->set_volume(static_cast<int16_t>(i % 4096));
        snd->set_pan(static_cast<int16_t>(i % 8192 - 4096));
        snd->set_rate(65536 + i % 1000);
        if (i % 7 == 0) // loops end only when stopped
            snd->state.store(SOUND_STOPPED);
    }
    stop = true;
    mixing.join();
    m.retire_all();
    RecordProperty("refused_plays", refused);
    EXPECT_EQ(s->refcount.load(), 1);
    EXPECT_LE(m.sound_count(), static_cast<size_t>(started));
    release_mixsample(s);
}

TEST(MixerThreads, DeviceRefillThreadAgainstVoiceOperations)
{
    auto out = make_ref<FakeOutput>();
    out->advance_per_read = 2048; // one fragment played per tick
    ASSERT_TRUE(audio_init_with(out, true));
    auto shortie = ref_cast<TMixerSoundAsset>(load_sound(Ref<TObject>(short_buffer(200)), 0));
    auto looping = load_sound(Ref<TObject>(short_buffer(100)), 1);
    ASSERT_TRUE(shortie);
    std::vector<Ref<TVoice>> voices;
    for (int i = 0; i < 3000; ++i) {
        Ref<TVoice> v = play_sound(i % 10 == 0 ? looping : Ref<TSoundAsset>(shortie), nullptr);
        if (v)
            voices.push_back(v);
        if (voices.size() > 5) {
            const Ref<TVoice>& some = voices[static_cast<size_t>(i) % voices.size()];
            set_voice_volume(some, 0.5f);
            set_voice_pan(some, -0.25f);
            set_voice_rate(some, 1.5f);
            pause_voice(some);
            resume_voice(some);
            voice_playing(some);
        }
        if (i % 10 == 0)
            stop_voice(v);
        if (i % 50 == 0)
            delay(2);
    }
    delay(200);
    EXPECT_GT(voices.size(), 2000u);
    audio_shutdown();
    EXPECT_EQ(shortie->sample->refcount.load(), 1);
    EXPECT_GT(out->position_reads.load(), 5); // the refill thread did run
    EXPECT_EQ(out->resets, 1); // only the one at close: no underrun
}

// The output goes away while the main thread keeps starting sounds, then
// comes back: the refill thread mixes unheard meanwhile and reopens it.
TEST(MixerThreads, OutputLostAndReopenedWhileSoundsStart)
{
    auto out = make_ref<FakeOutput>();
    out->advance_per_read = 2048;
    ASSERT_TRUE(audio_init_with(out, true));
    ringdevice* dev = audio_device();
    auto shortie = load_sound(Ref<TObject>(short_buffer(200)), 0);
    out->refuse_reopen = true;
    out->gone = true;
    for (int i = 0; i < 500 && !dev->is_missing(); ++i)
        delay(2);
    ASSERT_TRUE(dev->is_missing());
    for (int i = 0; i < 400; ++i) {
        play_sound(shortie, nullptr);
        if (i % 20 == 0)
            delay(2);
    }
    out->refuse_reopen = false;
    for (int i = 0; i < 1000 && dev->is_missing(); ++i)
        delay(5);
    EXPECT_FALSE(dev->is_missing());
    EXPECT_EQ(dev->reopens(), 1);
    EXPECT_NE(play_sound(shortie, nullptr), nullptr);
    audio_shutdown();
}

} // namespace
} // namespace vantrel::test
