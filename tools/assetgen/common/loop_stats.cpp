// Loop level measurements and the scheduler's possible sets.
#include "common/loop_stats.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace vantrel::assetgen {

Level measure(const StereoPcm& samples)
{
    Level level;
    double sum = 0.0;
    for (int16_t s : samples) {
        level.peak = std::max(level.peak, std::abs(static_cast<int>(s)));
        sum += static_cast<double>(s) * s;
    }
    level.rms = samples.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(samples.size()));
    return level;
}

std::vector<int32_t> sum_loops(const std::vector<StereoPcm>& loops, const std::vector<int>& set)
{
    size_t length = SIZE_MAX;
    for (int n : set) {
        if (n < 1 || static_cast<size_t>(n) > loops.size())
            throw std::out_of_range("loop number out of range");
        length = std::min(length, loops[static_cast<size_t>(n - 1)].size());
    }
    std::vector<int32_t> sum(set.empty() ? 0 : length, 0);
    for (int n : set) {
        const StereoPcm& loop = loops[static_cast<size_t>(n - 1)];
        for (size_t i = 0; i < sum.size(); ++i)
            sum[i] += loop[i];
    }
    return sum;
}

int peak_of_sum(const std::vector<StereoPcm>& loops, const std::vector<int>& set)
{
    int peak = 0;
    for (int32_t s : sum_loops(loops, set))
        peak = std::max(peak, std::abs(s));
    return peak;
}

std::vector<std::vector<int>> base_plus_four_sets()
{
    std::vector<std::vector<int>> sets;
    for (int mask = 0; mask < 128; ++mask) {
        std::vector<int> set{8};
        for (int loop = 1; loop <= 7; ++loop)
            if (mask & (1 << (loop - 1)))
                set.push_back(loop);
        if (set.size() == 5)
            sets.push_back(set);
    }
    return sets;
}

namespace {

// A wing's follower is below, equal to or above the wing's height.
enum class Wing { Sinking, Still, Rising };

std::vector<int> one_cycle(int body, Wing right, Wing left, bool high, int coins)
{
    std::vector<int> set{8};
    int choice = body;
    if (coins & 1)
        set.push_back(choice);
    if (right == Wing::Sinking) choice = 3;
    if (left == Wing::Sinking) choice = 4;
    if (coins & 2)
        set.push_back(choice);
    if (right == Wing::Rising) choice = 5;
    if (left == Wing::Rising) choice = 6;
    if (coins & 4)
        set.push_back(choice);
    set.push_back(high ? 7 : choice);
    std::sort(set.begin(), set.end());
    return set;
}

}  // namespace

std::vector<std::vector<int>> scheduler_sets()
{
    const Wing wings[] = {Wing::Sinking, Wing::Still, Wing::Rising};
    std::vector<std::vector<int>> sets{{8}};  // the resting bird
    for (int body : {8, 1, 2})
        for (Wing right : wings)
            for (Wing left : wings)
                for (bool high : {false, true})
                    for (int coins = 0; coins < 8; ++coins)
                        sets.push_back(one_cycle(body, right, left, high, coins));
    std::sort(sets.begin(), sets.end());
    sets.erase(std::unique(sets.begin(), sets.end()), sets.end());
    return sets;
}

}  // namespace vantrel::assetgen
