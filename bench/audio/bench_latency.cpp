// Latency through the device: from play_sound to the first buffer handed to
// SDL that carries the sound, on SDL's dummy driver (real-time pacing, no
// sound card). It is the 20 ms start delay, the 6-fragment lead and the time
// until SDL next asks for data.
#include "audio/audio.h"
#include "audio/mixer/ringdevice.h"
#include "platform/clock_source.h"
#include "platform/sdl/sdl_audio_output.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

using namespace vantrel;

struct Probe {
    std::atomic<bool> armed{false};
    std::atomic<uint64_t> heard_us{0};
};

void tap(void* user, const uint8_t* bytes, uint32_t count)
{
    auto* probe = static_cast<Probe*>(user);
    if (!probe->armed.load(std::memory_order_acquire))
        return;
    for (uint32_t i = 0; i < count; ++i)
        if (bytes[i] != 0) {
            probe->heard_us.store(platform::monotonic_us(), std::memory_order_relaxed);
            probe->armed.store(false, std::memory_order_release);
            return;
        }
}

void BM_latency_play_to_sdl(benchmark::State& state)
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    Probe probe;
    if (!audio_init_with(platform::create_sdl_audio_output(&tap, &probe), true)) {
        state.SkipWithError("no SDL audio output");
        return;
    }
    auto buffer = create_sample_buffer(441, 44100, SAMPLE_STEREO16_LE); // 10 ms
    std::fill(buffer->data, buffer->data + buffer->capacity, uint8_t{0x40});
    auto sound = load_sound(Ref<TObject>(buffer), 0);
    double total_ms = 0;
    for (auto _ : state) {
        std::this_thread::sleep_for(std::chrono::milliseconds(150)); // the last one has gone
        probe.armed.store(true, std::memory_order_release);
        const uint64_t start = platform::monotonic_us();
        play_sound(sound, nullptr);
        while (probe.armed.load(std::memory_order_acquire))
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        const double seconds = static_cast<double>(probe.heard_us.load() - start) / 1e6;
        total_ms += seconds * 1000;
        state.SetIterationTime(seconds);
    }
    state.counters["mean_ms"] = total_ms / static_cast<double>(state.iterations());
    // Fragments of lead at the end: above 6 means underruns happened.
    state.counters["lead"] = audio_device()->latency();
    audio_shutdown();
}
BENCHMARK(BM_latency_play_to_sdl)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

} // namespace
