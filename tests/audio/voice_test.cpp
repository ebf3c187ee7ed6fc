// Sounds and voices over the mixer and the channel table, with a scripted
// output and the mixer stepped by hand.
#include "audio/audio.h"
#include "audio/channel_table.h"
#include "audio/mixer/mixsample.h"
#include "audio/mixer/ringdevice.h"
#include "audio/mixer_backend.h"
#include "fake_output.h"
#include "platform/backend.h"
#include "platform/manual_clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace vantrel::test {
namespace {

Ref<TSampleBuffer> mono_buffer(int32_t frames, int16_t value, int32_t hertz = 44100)
{
    auto b = create_sample_buffer(frames, hertz, SAMPLE_MONO16_LE);
    auto* v = reinterpret_cast<int16_t*>(b->data);
    std::fill(v, v + frames, value);
    return b;
}

uint32_t handle_of(const Ref<TVoice>& v)
{
    auto m = ref_cast<TMixerVoice>(v);
    return m ? m->handle : 0;
}

class VoiceTest : public ::testing::Test {
protected:
    VoiceTest() : scoped(clock) { EXPECT_TRUE(audio_init_with(make_ref<FakeOutput>(), false)); }
    ~VoiceTest() override { audio_shutdown(); }

    // One block, with the sounds started before it audible from its start.
    std::vector<int16_t> block()
    {
        clock.advance(25);
        std::vector<int16_t> out(DEVICE_FRAGMENT);
        audio_device()->get_mixer()->mix_s16(out.data(), 0);
        return out;
    }

    platform::ManualClock clock;
    platform::ScopedClock scoped;
};

TEST_F(VoiceTest, FreshPlaysGetConsecutiveHandles)
{
    auto snd = load_sound(Ref<TObject>(mono_buffer(10000, 1)), 0);
    ASSERT_TRUE(ref_cast<TMixerSoundAsset>(snd));
    EXPECT_EQ(handle_of(play_sound(snd, nullptr)), 8193u);
    EXPECT_EQ(handle_of(play_sound(snd, nullptr)), 8194u);
}

TEST_F(VoiceTest, ReusedChannelGetsANewGenerationAndTheOldVoiceGoesStale)
{
    auto shortie = load_sound(Ref<TObject>(mono_buffer(100, 1)), 0);
    auto first = play_sound(shortie, nullptr);
    EXPECT_EQ(voice_playing(first), 1);
    block(); // ends
    block(); // retired
    EXPECT_EQ(voice_playing(first), 0);
    auto second = play_sound(shortie, nullptr); // reuses the dead sound: channel 1 is freed
    EXPECT_EQ(handle_of(second), 8194u);
    auto third = play_sound(shortie, nullptr);
    EXPECT_EQ(handle_of(third), 8193u + 4096);
    EXPECT_EQ(voice_playing(first), 0);
    EXPECT_EQ(voice_playing(third), 1);
    stop_voice(first); // stale: does nothing
    set_voice_volume(first, 0.0f);
    EXPECT_EQ(channel_lookup(handle_of(third))->get_volume(1), 4096);
    EXPECT_EQ(channel_status(handle_of(third)), SOUND_PLAYING);
}

TEST_F(VoiceTest, PlayingOnAStaleVoiceRegistersNothingElsewhere)
{
    auto shortie = load_sound(Ref<TObject>(mono_buffer(100, 1)), 0);
    auto longer = load_sound(Ref<TObject>(mono_buffer(100000, 1)), 0);
    auto stale = play_sound(shortie, nullptr);
    block();
    block();
    play_sound(shortie, nullptr);
    auto owner = play_sound(longer, nullptr); // channel 1 again
    ASSERT_EQ(handle_of(owner) & CHANNEL_INDEX_MASK, handle_of(stale) & CHANNEL_INDEX_MASK);
    sound* owners_sound = channel_lookup(handle_of(owner));
    EXPECT_FALSE(play_sound(longer, stale));
    EXPECT_EQ(channel_lookup(handle_of(owner)), owners_sound);
    EXPECT_EQ(owners_sound->state.load(), SOUND_PLAYING);
}

TEST_F(VoiceTest, AnyNonZeroFlagsLoop)
{
    for (int32_t flags : {1, 2, -7}) {
        auto snd = ref_cast<TMixerSoundAsset>(load_sound(Ref<TObject>(mono_buffer(10, 1)), flags));
        ASSERT_TRUE(snd);
        EXPECT_EQ(snd->sample->loop, 1);
        EXPECT_EQ(channel_status(handle_of(play_sound(snd, nullptr))), SOUND_LOOPING);
    }
    auto once = ref_cast<TMixerSoundAsset>(load_sound(Ref<TObject>(mono_buffer(10, 1)), 0));
    EXPECT_EQ(once->sample->loop, 0);
}

TEST_F(VoiceTest, PreparedSoundStartsAtItsNewVolumeWithoutAFade)
{
    auto snd = load_sound(Ref<TObject>(mono_buffer(10000, 2000)), 0);
    auto voice = prepare_sound(snd, nullptr);
    EXPECT_EQ(voice_playing(voice), 1); // paused counts as playing
    EXPECT_EQ(block()[0], 0);
    set_voice_volume(voice, 0.5f);
    resume_voice(voice);
    const auto out = block();
    EXPECT_EQ(out[0], 1000);
    EXPECT_EQ(out[DEVICE_FRAGMENT - 2], 1000);
}

TEST_F(VoiceTest, AllocatedVoiceCarriesItsPanAndIsReturned)
{
    auto snd = load_sound(Ref<TObject>(mono_buffer(10000, 3000)), 0);
    auto voice = alloc_voice();
    ASSERT_TRUE(voice);
    set_voice_pan(voice, -1.0f);
    auto playing = play_sound(snd, voice);
    EXPECT_TRUE(same_object(playing, voice));
    const auto out = block();
    EXPECT_EQ(out[0], 3000);
    EXPECT_EQ(out[1], 0);
}

TEST_F(VoiceTest, FinishedAndStoppedVoicesAreNotPlaying)
{
    auto shortie = load_sound(Ref<TObject>(mono_buffer(10, 1)), 0);
    auto longer = load_sound(Ref<TObject>(mono_buffer(100000, 1)), 0);
    auto ends = play_sound(shortie, nullptr);
    auto stopped = play_sound(longer, nullptr);
    auto paused = play_sound(longer, nullptr);
    pause_voice(paused);
    stop_voice(stopped);
    block();
    EXPECT_EQ(voice_playing(ends), 0);
    EXPECT_EQ(voice_playing(stopped), 0);
    EXPECT_EQ(voice_playing(paused), 1);
    EXPECT_EQ(channel_status(handle_of(paused)), SOUND_PLAYING | SOUND_PAUSED);
}

TEST_F(VoiceTest, AllocatedChannelKeepsItsSoundUntilStopped)
{
    auto shortie = load_sound(Ref<TObject>(mono_buffer(10, 1)), 0);
    auto voice = alloc_voice();
    play_sound(shortie, voice);
    block();
    block();
    EXPECT_EQ(channel_status(handle_of(voice)), SOUND_STOPPED); // ended, still registered
    stop_voice(voice);
    block();
    block();
    play_sound(shortie, nullptr); // reuses the dead sound and frees the channel
    EXPECT_EQ(channel_lookup(handle_of(voice)), nullptr);
}

TEST_F(VoiceTest, StoppingAnUnusedAllocatedVoiceFreesItsChannel)
{
    auto voice = alloc_voice();
    const uint32_t h = handle_of(voice);
    set_voice_rate(voice, 2.0f); // makes a settings holder
    ASSERT_NE(channel_lookup(h), nullptr);
    stop_voice(voice);
    EXPECT_EQ(channel_lookup(h), nullptr);
    EXPECT_EQ(handle_of(alloc_voice()), h + 4096);
}

TEST_F(VoiceTest, ReplayingOnAFreshVoiceLeavesTheNewSoundItsChannel)
{
    auto longer = load_sound(Ref<TObject>(mono_buffer(100000, 1)), 0);
    auto voice = play_sound(longer, nullptr);
    sound* first = channel_lookup(handle_of(voice));
    EXPECT_TRUE(same_object(play_sound(longer, voice), voice));
    sound* second = channel_lookup(handle_of(voice));
    EXPECT_NE(first, second);
    block(); // the replaced sound dies
    block(); // and is retired
    play_sound(longer, nullptr); // reuses it: must not free the voice's channel
    EXPECT_EQ(channel_lookup(handle_of(voice)), second);
    EXPECT_EQ(voice_playing(voice), 1);
}

TEST_F(VoiceTest, SettingsAreSaturatedToTheirFields)
{
    auto voice = alloc_voice();
    const uint32_t h = handle_of(voice);
    set_voice_volume(voice, 100.0f);
    EXPECT_EQ(channel_lookup(h)->get_volume(1), 32767);
    set_voice_volume(voice, -0.00001f);
    EXPECT_EQ(channel_lookup(h)->get_volume(1), 0);
    set_voice_pan(voice, 3.0f);
    EXPECT_EQ(channel_lookup(h)->get_pan(1), 4096);
    set_voice_rate(voice, 1e20f);
    EXPECT_EQ(channel_lookup(h)->get_rate(1), INT32_MAX);
    set_voice_rate(voice, 0.5f);
    EXPECT_EQ(channel_lookup(h)->get_rate(1), 32768);
    set_voice_surround(voice, -1.0f);
    EXPECT_EQ(channel_lookup(h)->get_surround(1), -4096);
}

TEST_F(VoiceTest, OtherBackEndsVoicesAndEmptyBuffersPlayNothing)
{
    auto snd = load_sound(Ref<TObject>(mono_buffer(10, 1)), 0);
    EXPECT_FALSE(play_sound(snd, make_ref<TVoice>()));
    EXPECT_FALSE(load_sound(Ref<TObject>(create_sample_buffer(4, 8000, SAMPLE_NONE)), 0));
}

TEST_F(VoiceTest, BigEndianBuffersAreConverted)
{
    auto b = create_sample_buffer(2, 44100, SAMPLE_STEREO16_BE);
    const uint8_t bytes[] = {0x01, 0x00, 0xFF, 0x00, 0x01, 0x00, 0xFF, 0x00};
    std::memcpy(b->data, bytes, 8);
    auto snd = ref_cast<TMixerSoundAsset>(load_sound(Ref<TObject>(b), 0));
    ASSERT_TRUE(snd);
    play_sound(snd, nullptr);
    const auto out = block();
    EXPECT_EQ(out[0], 256);
    EXPECT_EQ(out[1], -256);
}

TEST_F(VoiceTest, WithEveryChannelTakenAFreshPlayStillSounds)
{
    std::vector<Ref<TVoice>> held;
    for (int i = 0; i < 4095; ++i)
        held.push_back(alloc_voice());
    EXPECT_TRUE(held.back());
    EXPECT_FALSE(alloc_voice());
    auto snd = load_sound(Ref<TObject>(mono_buffer(1000, 500)), 0);
    EXPECT_FALSE(play_sound(snd, nullptr));
    EXPECT_EQ(block()[0], 500);
}

TEST_F(VoiceTest, LoopingSoundWithoutFramesIsRefused)
{
    auto empty = load_sound(Ref<TObject>(create_sample_buffer(0, 8000, SAMPLE_MONO16_LE)), 1);
    ASSERT_TRUE(empty);
    EXPECT_FALSE(play_sound(empty, nullptr));
    // The refused play gave its channel back: the next play gets it again.
    EXPECT_EQ(handle_of(play_sound(load_sound(Ref<TObject>(mono_buffer(5, 1)), 0), nullptr)),
              1 + 3 * CHANNEL_GENERATION_STEP);
}

TEST(NoOutput, SoundsLoadAndPlaySilently)
{
    auto refusing = make_ref<FakeOutput>();
    refusing->refuse_open = true;
    EXPECT_FALSE(audio_init_with(refusing, false));
    EXPECT_EQ(audio_device(), nullptr);
    auto snd = load_sound(Ref<TObject>(mono_buffer(10, 1)), 0);
    ASSERT_TRUE(snd);
    EXPECT_FALSE(ref_cast<TMixerSoundAsset>(snd));
    auto voice = play_sound(snd, nullptr);
    ASSERT_TRUE(voice);
    EXPECT_EQ(voice_playing(voice), 0);
    EXPECT_TRUE(alloc_voice());
    EXPECT_EQ(stop_voice(voice), 0);
    audio_shutdown();
}

// The default output comes from the registered backend; these count how
// often it was asked for one.
int outputs_made = 0;

Ref<platform::AudioOutput> refusing_output()
{
    ++outputs_made;
    auto out = make_ref<FakeOutput>();
    out->refuse_open = true;
    return out;
}

Ref<platform::AudioOutput> opening_output()
{
    ++outputs_made;
    return make_ref<FakeOutput>();
}

TEST(NoOutput, AudioInitGivesZeroOrMinusOne)
{
    static platform::PlatformBackend refusing, opening, none;
    refusing.create_audio_output = &refusing_output;
    opening.create_audio_output = &opening_output;
    outputs_made = 0;

    platform::register_platform_backend(refusing);
    EXPECT_EQ(audio_init(), -1);
    EXPECT_EQ(audio_init(), -1); // not asked for again
    EXPECT_EQ(outputs_made, 1);
    EXPECT_EQ(audio_device(), nullptr);
    audio_shutdown();

    platform::register_platform_backend(opening);
    EXPECT_EQ(audio_init(), 0);
    ASSERT_NE(audio_device(), nullptr);
    EXPECT_EQ(audio_init(), 0); // already open
    EXPECT_EQ(outputs_made, 2);
    audio_shutdown();
    platform::register_platform_backend(none);
}

} // namespace
} // namespace vantrel::test
