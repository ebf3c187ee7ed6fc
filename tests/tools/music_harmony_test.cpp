// The loops are composed over one progression: in every half bar each loop's
// pitched energy lies mostly on the notes of that half bar's chord, so any
// set of loops started together agrees.
#include "asset_data.h"

#include "common/det_math.h"
#include "common/wav_file.h"
#include "music/score.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cmath>
#include <set>
#include <string>
#include <vector>

namespace vantrel::assetgen {
namespace {

// Energy of one frequency over a run of samples taken at rate (Goertzel).
double tone_energy(const std::vector<double>& x, double hz, double rate)
{
    const double coeff = 2.0 * std::cos(2.0 * kPi * hz / rate);
    double s1 = 0.0, s2 = 0.0;
    for (double v : x) {
        const double s0 = v + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return s1 * s1 + s2 * s2 - coeff * s1 * s2;
}

std::set<int> chord_classes(int half)
{
    const Chord& chord = progression()[static_cast<size_t>(half / 2)];
    std::set<int> classes{chord.bass % 12};
    for (int n : half % 2 == 0 ? chord.pad : chord.pad_late)
        classes.insert(n % 12);
    for (int n : chord_notes(half / 2, 0, 11, half % 2 == 1))
        classes.insert(n);
    return classes;
}

struct HalfBar {
    double inside = 0.0;  // energy on the chord's pitch classes
    double total = 0.0;   // energy at all equal-tempered pitches, MIDI 40 to 100
};

// Measured over the last three quarters of the half bar, at half the sample
// rate (the highest pitch measured is far below the new limit).
HalfBar measure_half_bar(const StereoPcm& pcm, int half)
{
    const size_t frames = kBarFrames / 2;
    const size_t first = static_cast<size_t>(half) * frames + frames / 4;
    std::vector<double> mono;
    for (size_t f = first; f + 1 < static_cast<size_t>(half + 1) * frames && 2 * f + 3 < pcm.size(); f += 2)
        mono.push_back(static_cast<double>(pcm[2 * f]) + pcm[2 * f + 1] + pcm[2 * f + 2] + pcm[2 * f + 3]);
    const std::set<int> classes = chord_classes(half);
    HalfBar result;
    for (int note = 40; note <= 100; ++note) {
        const double e = tone_energy(mono, midi_hz(note), kWavRate / 2.0);
        result.total += e;
        if (classes.count(note % 12))
            result.inside += e;
    }
    return result;
}

TEST(MusicHarmony, EveryLoopFollowsTheProgression)
{
    for (int n = 1; n <= 8; ++n) {
        const auto info = parse_wav(committed_asset("sound" + std::to_string(n) + ".wav"));
        ASSERT_TRUE(info.has_value());
        ASSERT_EQ(info->samples.size(), static_cast<size_t>(kLoopFrames) * 2);
        std::vector<HalfBar> halves;
        double mean = 0.0;
        for (int half = 0; half < kBars * 2; ++half) {
            halves.push_back(measure_half_bar(info->samples, half));
            mean += halves.back().total / (kBars * 2);
        }
        double worst = 1.0;
        for (int half = 0; half < kBars * 2; ++half) {
            const HalfBar& h = halves[static_cast<size_t>(half)];
            if (h.total < 0.05 * mean)
                continue;  // only a fading tail sounds here
            const double share = h.inside / h.total;
            worst = std::min(worst, share);
            EXPECT_GT(share, 0.8) << "loop " << n << ", half bar " << half;
        }
        std::printf("loop %d: at least %.1f %% of the pitched energy on chord notes\n", n, worst * 100.0);
    }
}

}  // namespace
}  // namespace vantrel::assetgen
