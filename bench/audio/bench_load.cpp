// Loading the game's eight music loops: decoding each WAV and copying its
// frames into a mixer sample, as the game does at start-up.
#include "assets/stream.h"
#include "audio/audio.h"
#include "audio/mixer_backend.h"
#include "audio/sample_loader.h"

#include <benchmark/benchmark.h>

#include <string>

void register_bench_music_loops();

namespace {

using namespace vantrel;

void BM_load_eight_music_loops(benchmark::State& state)
{
    static bool registered = false;
    if (!registered) {
        registered = true;
        register_bench_music_loops();
    }
    streams_init();
    sample_loaders_init();
    set_audio_backend(make_ref<TMixerBackend>());
    for (auto _ : state) {
        for (int n = 1; n <= 8; ++n) {
            auto sound = load_sound(Text::from_bytes("incbin::sound" + std::to_string(n) + ".wav"), 0);
            if (!sound)
                state.SkipWithError("a loop did not load");
            benchmark::DoNotOptimize(sound.get());
        }
    }
    set_audio_backend(make_ref<TAudioBackend>());
}
BENCHMARK(BM_load_eight_music_loops)->Unit(benchmark::kMillisecond);

} // namespace
