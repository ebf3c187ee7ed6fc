// Mixing figures: one 1024-value block (512 stereo frames at 44100 Hz) with
// 1, 5 and 32 sounds of 22050 Hz stereo at unity, with a volume ramp in every
// block, and the same job done with SDL_AudioStream + SDL_MixAudioFormat.
#include "audio/mixer/mixer.h"
#include "audio/mixer/mixsample.h"
#include "platform/manual_clock.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

using namespace vantrel;

constexpr int32_t BLOCK = 1024;
constexpr int32_t SOURCE_FRAMES = 352000;

std::vector<int16_t> source_values()
{
    std::vector<int16_t> v(2 * SOURCE_FRAMES);
    uint32_t x = 12345;
    for (auto& s : v) {
        x = x * 1664525u + 1013904223u;
        s = static_cast<int16_t>(x >> 18); // about a quarter of full scale
    }
    return v;
}

const std::vector<int16_t>& source()
{
    static const std::vector<int16_t> v = source_values();
    return v;
}

struct MixerRig {
    explicit MixerRig(int sounds) : scoped(clock), mix(BLOCK)
    {
        mix.rate = 44100;
        mix.channels = 2;
        sample = create_mixsample(SOURCE_FRAMES, 16, 2, 22050, source().data(), 1);
        for (int i = 0; i < sounds; ++i)
            playing.push_back(mix.play(sample, nullptr, SOUND_LOOPING));
        clock.advance(25);
        mix.mix_s16(out.data(), 0); // take them in
    }
    ~MixerRig()
    {
        mix.retire_all();
        release_mixsample(sample);
    }

    platform::ManualClock clock;
    platform::ScopedClock scoped;
    mixer mix;
    mixsample* sample = nullptr;
    std::vector<sound*> playing;
    std::vector<int16_t> out = std::vector<int16_t>(BLOCK);
};

void BM_mix_s16(benchmark::State& state)
{
    MixerRig rig(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        rig.mix.mix_s16(rig.out.data(), 0);
        benchmark::DoNotOptimize(rig.out.data());
    }
    state.counters["sounds"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_mix_s16)->Arg(1)->Arg(5)->Arg(32);

void BM_mix_s16_volume_ramp(benchmark::State& state)
{
    MixerRig rig(static_cast<int>(state.range(0)));
    int16_t volume = 4096;
    for (auto _ : state) {
        volume = volume == 4096 ? 2048 : 4096;
        for (sound* s : rig.playing)
            s->set_volume(volume);
        rig.mix.mix_s16(rig.out.data(), 0);
        benchmark::DoNotOptimize(rig.out.data());
    }
}
BENCHMARK(BM_mix_s16_volume_ramp)->Arg(5);

// The way an SDL program would do it without our mixer: each sound resampled
// by its own audio stream, then mixed into the block by SDL.
void BM_sdl_stream_and_mix(benchmark::State& state)
{
    const int sounds = static_cast<int>(state.range(0));
    std::vector<SDL_AudioStream*> streams;
    const auto* src = reinterpret_cast<const uint8_t*>(source().data());
    const int in_bytes = BLOCK; // 256 source frames of 4 bytes per block
    for (int i = 0; i < sounds; ++i) {
        SDL_AudioStream* s = SDL_NewAudioStream(AUDIO_S16LSB, 2, 22050, AUDIO_S16LSB, 2, 44100);
        SDL_AudioStreamPut(s, src, 64 * in_bytes); // primed well past the resampler's latency
        streams.push_back(s);
    }
    std::vector<uint8_t> block(BLOCK * 2), scratch(BLOCK * 2);
    size_t at = 64 * static_cast<size_t>(in_bytes);
    const size_t total = source().size() * 2;
    for (auto _ : state) {
        std::memset(block.data(), 0, block.size());
        if (at + static_cast<size_t>(in_bytes) > total)
            at = 0;
        for (SDL_AudioStream* s : streams) {
            SDL_AudioStreamPut(s, src + at, in_bytes);
            SDL_AudioStreamGet(s, scratch.data(), static_cast<int>(scratch.size()));
            SDL_MixAudioFormat(block.data(), scratch.data(), AUDIO_S16LSB,
                               static_cast<Uint32>(scratch.size()), SDL_MIX_MAXVOLUME);
        }
        at += static_cast<size_t>(in_bytes);
        benchmark::DoNotOptimize(block.data());
    }
    for (SDL_AudioStream* s : streams)
        SDL_FreeAudioStream(s);
}
BENCHMARK(BM_sdl_stream_and_mix)->Arg(1)->Arg(5)->Arg(32);

} // namespace
