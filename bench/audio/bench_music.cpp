// Ten minutes of 44.1 kHz stereo Ogg Vorbis played as streamed music through
// the mixer, block by block, with the decoder pumped before each block as a
// host without threads does: the decoded frames held at the most (the chunk
// ring's count, and the C heap's growth, which adds libvorbisfile's own
// state), and the decoder's CPU time against the length of the music.
//
// The file is written to a temporary folder at start-up with the tests'
// encoder: a few tones with noise, quality 0.4, encoded a second at a time
// so that the ten minutes are never held as PCM.
//
//   bench_music [seconds]     (600 unless given)
#include "assets/stream.h"
#include "audio/audio.h"
#include "audio/ogg.h"
#include "audio/mixer/mixstream.h"
#include "audio/mixer/ringdevice.h"
#include "audio/music.h"
#include "audio/sample_loader.h"
#include "platform/null/null_audio_output.h"

#include "../../tests/audio/ogg_writer.h"

#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace vantrel {
namespace {

constexpr long HERTZ = 44100;
constexpr int32_t BLOCK_FRAMES = DEVICE_FRAGMENT / 2;

double cpu_seconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

size_t heap_bytes() { return mallinfo2().uordblks; }

std::vector<uint8_t> encode(int seconds)
{
    std::vector<uint8_t> file;
    test::OggEncoder encoder(2, HERTZ, 0.4f, file);
    std::vector<int16_t> second(2 * HERTZ);
    uint32_t state = 3;
    for (int s = 0; s < seconds; ++s) {
        for (long i = 0; i < HERTZ; ++i) {
            const double t = s + static_cast<double>(i) / HERTZ;
            for (int c = 0; c < 2; ++c) {
                state = state * 1664525u + 1013904223u;
                const double tones = std::sin(2 * std::numbers::pi * (220 + 110 * c) * t) +
                                     0.5 * std::sin(2 * std::numbers::pi * 587.3 * t) * std::sin(std::numbers::pi * t / 7);
                const double noise = static_cast<double>(state >> 16) / 65536.0 - 0.5;
                second[static_cast<size_t>(2 * i + c)] = static_cast<int16_t>(9000 * tones + 2000 * noise);
            }
        }
        encoder.write(second.data(), HERTZ);
    }
    encoder.finish();
    return file;
}

struct Figures {
    long long blocks = 0;
    long long silent_blocks = 0;
    double decode_cpu = 0;
    double worst_pump = 0;
    double mix_cpu = 0;
    size_t heap_growth = 0;
};

Figures play(const std::string& path)
{
    Figures f;
    const size_t heap_before = heap_bytes();
    reset_mixstream_peak();
    Ref<TSoundAsset> music = open_music(Text::from_bytes(path), 0);
    if (!music) {
        std::fprintf(stderr, "bench_music: %s does not open\n", path.c_str());
        std::exit(1);
    }
    Ref<TVoice> voice = play_sound(music, Ref<TVoice>());
    std::vector<int16_t> out(DEVICE_FRAGMENT);
    while (voice_playing(voice)) {
        const double t0 = cpu_seconds();
        pump_music();
        const double t1 = cpu_seconds();
        audio_device()->get_mixer()->mix_s16(out.data(), 0);
        const double t2 = cpu_seconds();
        f.decode_cpu += t1 - t0;
        f.worst_pump = std::max(f.worst_pump, t1 - t0);
        f.mix_cpu += t2 - t1;
        f.heap_growth = std::max(f.heap_growth, heap_bytes() - std::min(heap_bytes(), heap_before));
        f.silent_blocks += std::all_of(out.begin(), out.end(), [](int16_t v) { return v == 0; });
        ++f.blocks;
    }
    return f;
}

} // namespace
} // namespace vantrel

int main(int argc, char** argv)
{
    using namespace vantrel;
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 600;
    const auto dir = std::filesystem::temp_directory_path() / "vantrel-bench-music";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "music.ogg").string();
    {
        const std::vector<uint8_t> file = encode(seconds);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
        std::printf("music: %d s of 44.1 kHz stereo Ogg Vorbis, %.1f MiB\n", seconds, file.size() / 1048576.0);
    }
    streams_init();
    sample_loaders_init();
    ogg_loader_init();
    if (!audio_init_with(make_ref<platform::NullAudioOutput>(), false))
        return 1;
    const Figures f = play(path);
    const double played = static_cast<double>(f.blocks) * BLOCK_FRAMES / HERTZ;
    std::printf("played: %lld blocks, %.1f s (%lld silent: the start delay and the end)\n", f.blocks, played,
                f.silent_blocks);
    std::printf("decoded frames held at the most: %zu bytes (chunk ring)\n", mixstream_peak_bytes());
    std::printf("heap growth at the most while playing: %zu bytes (ring, decoder state, reader)\n",
                f.heap_growth);
    std::printf("decoder cpu: %.3f s, %.2f %% of the music's length; longest pump %.2f ms\n", f.decode_cpu,
                100.0 * f.decode_cpu / played, 1000.0 * f.worst_pump);
    std::printf("mixer cpu: %.3f s, %.2f %% of the music's length\n", f.mix_cpu, 100.0 * f.mix_cpu / played);
    std::printf("whole decode (load_sound) would hold: %.1f MiB\n", seconds * HERTZ * 4 / 1048576.0);
    audio_shutdown();
    std::filesystem::remove_all(dir);
    return 0;
}
