// Decoding 16 s of 44.1 kHz stereo stored as Ogg Vorbis (libvorbisfile)
// against the same sound stored as 16-bit WAV, both through
// load_sample_buffer from memory, as a program would load them. The files
// are written at start-up: a few tones with noise, encoded at quality 0.4.
#include "assets/stream.h"
#include "audio/ogg.h"
#include "audio/sample_loader.h"

#include "../../tests/audio/ogg_writer.h"
#include "../../tests/audio/wav_builder.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

namespace vantrel {
namespace {

constexpr long HERTZ = 44100;
constexpr int32_t FRAMES = 16 * HERTZ;

std::vector<int16_t> sound()
{
    std::vector<int16_t> frames;
    frames.reserve(2 * FRAMES);
    uint32_t state = 3;
    for (int32_t i = 0; i < FRAMES; ++i) {
        const double t = static_cast<double>(i) / HERTZ;
        for (int c = 0; c < 2; ++c) {
            state = state * 1664525u + 1013904223u;
            const double tones = std::sin(2 * std::numbers::pi * (220 + 110 * c) * t) +
                                 0.5 * std::sin(2 * std::numbers::pi * 587.3 * t) *
                                     std::sin(std::numbers::pi * t);
            const double noise = static_cast<double>(state >> 16) / 65536.0 - 0.5;
            frames.push_back(static_cast<int16_t>(9000 * tones + 2000 * noise));
        }
    }
    return frames;
}

const std::vector<uint8_t>& ogg_file()
{
    static const std::vector<uint8_t> file = test::encode_ogg(sound(), 2, HERTZ, 0.4f);
    return file;
}

const std::vector<uint8_t>& wav_file()
{
    static const std::vector<uint8_t> file =
        test::WavBuilder().header(2, HERTZ, 16).chunk("data", test::le16(sound())).bytes;
    return file;
}

void decode(benchmark::State& state, const std::vector<uint8_t>& file)
{
    static const bool ready = (streams_init(), sample_loaders_init(), ogg_loader_init(), true);
    (void)ready;
    for (auto _ : state) {
        Ref<TSampleBuffer> buffer = load_sample_buffer(Ref<TObject>(
            create_memory_stream(file.data(), static_cast<int32_t>(file.size()), 1, 0)));
        if (!buffer || buffer->frames != FRAMES)
            state.SkipWithError("the sound did not load whole");
        benchmark::DoNotOptimize(buffer.get());
    }
    state.counters["file_kib"] = static_cast<double>(file.size()) / 1024.0;
}

void BM_Decode16sStereoOgg(benchmark::State& state) { decode(state, ogg_file()); }
void BM_Decode16sStereoWav(benchmark::State& state) { decode(state, wav_file()); }

// Medians: the machine is shared, so single runs wander.
BENCHMARK(BM_Decode16sStereoOgg)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_Decode16sStereoWav)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace
} // namespace vantrel

BENCHMARK_MAIN();
