// Level measurements for the music loops: peak and RMS, sample-by-sample
// sums of several loops started together, and the sets of loops that the
// game's music scheduler can start in one cycle.
#pragma once

#include "common/wav_file.h"

#include <vector>

namespace vantrel::assetgen {

struct Level {
    int peak = 0;       // largest |sample| over both channels
    double rms = 0.0;   // over both channels
};

Level measure(const StereoPcm& samples);

// Loops are numbered 1..loops.size(); a set lists loop numbers and may repeat
// one. The sum is not clamped. Loops of different lengths are summed over the
// shortest.
std::vector<int32_t> sum_loops(const std::vector<StereoPcm>& loops, const std::vector<int>& set);
int peak_of_sum(const std::vector<StereoPcm>& loops, const std::vector<int>& set);

// Loop 8 with every choice of four different loops among 1 to 7.
std::vector<std::vector<int>> base_plus_four_sets();

// Every multiset of loops one cycle of the scheduler can start, sorted: the
// bed, then the body, sinking-wing and rising-wing layers on their coin
// tosses, each carrying over the previous choice when its own conditions do
// not hold, then the returned loop (7 when flying high).
std::vector<std::vector<int>> scheduler_sets();

}  // namespace vantrel::assetgen
