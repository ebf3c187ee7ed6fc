// vantrel_music_mix ASSET_DIR OUT.wav [LOOP...]: sums loops (by default the
// bed 8 with 1, 3, 6 and 7) sample by sample into a WAV to listen to, and
// prints peak and RMS of each loop and of the mix, and the worst-case peak
// over every set the music can start together.
#include "common/byte_io.h"
#include "common/loop_stats.h"
#include "common/wav_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace vantrel::assetgen;

namespace {

void print_level(const std::string& what, const StereoPcm& pcm)
{
    const Level level = measure(pcm);
    std::printf("%-28s %6.3f s  peak %5d  rms %7.1f\n", what.c_str(), static_cast<double>(pcm.size() / 2) / kWavRate,
                level.peak, level.rms);
}

void print_worst(const char* what, const std::vector<StereoPcm>& loops, const std::vector<std::vector<int>>& sets)
{
    int worst = 0;
    std::vector<int> worst_set;
    for (const auto& set : sets) {
        const int peak = peak_of_sum(loops, set);
        if (peak > worst) {
            worst = peak;
            worst_set = set;
        }
    }
    std::string names;
    for (int n : worst_set)
        names += (names.empty() ? "" : "+") + std::to_string(n);
    std::printf("%-28s worst peak %5d (%s) over %zu sets\n", what, worst, names.c_str(), sets.size());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s ASSET_DIR OUT.wav [LOOP...]\n", argv[0]);
        return 2;
    }
    std::vector<StereoPcm> loops;
    for (int n = 1; n <= 8; ++n) {
        const std::string path = std::string(argv[1]) + "/sound" + std::to_string(n) + ".wav";
        const auto bytes = read_file(path);
        const auto wav = bytes ? parse_wav(*bytes) : std::nullopt;
        if (!wav) {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            return 1;
        }
        loops.push_back(wav->samples);
        print_level("loop " + std::to_string(n), loops.back());
    }
    std::vector<int> set;
    for (int i = 3; i < argc; ++i)
        set.push_back(std::atoi(argv[i]));
    if (set.empty())
        set = {8, 1, 3, 6, 7};
    StereoPcm mix;
    try {
        for (int32_t s : sum_loops(loops, set))
            mix.push_back(static_cast<int16_t>(std::clamp(s, -32768, 32767)));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 2;
    }
    print_level("mix", mix);
    std::printf("%-28s %d\n", "mix peak before clamping", peak_of_sum(loops, set));
    print_worst("bed + four different layers", loops, base_plus_four_sets());
    print_worst("any set the scheduler starts", loops, scheduler_sets());
    if (!write_file(argv[2], encode_wav(mix, "Vantrel mix"))) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
