// Level measurement and the enumeration of loop sets.
#include "common/loop_stats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace vantrel::assetgen {
namespace {

TEST(LoopStats, MeasuresPeakAndRms)
{
    const Level level = measure({3, -4, 3, -4});
    EXPECT_EQ(level.peak, 4);
    EXPECT_DOUBLE_EQ(level.rms, std::sqrt(12.5));
    EXPECT_EQ(measure({}).peak, 0);
}

TEST(LoopStats, SumsRepeatedLoopsWithoutClamping)
{
    const std::vector<StereoPcm> loops{{30000, -30000, 1, 1}, {10, 20, -5, 6, 99, 99}};
    EXPECT_EQ(sum_loops(loops, {1, 1, 2}), (std::vector<int32_t>{60010, -59980, -3, 8}));
    EXPECT_EQ(peak_of_sum(loops, {1, 1}), 60000);
    EXPECT_THROW(sum_loops(loops, {3}), std::out_of_range);
}

TEST(LoopSets, BedWithFourDifferentLayersIsThirtyFiveSets)
{
    const auto sets = base_plus_four_sets();
    EXPECT_EQ(sets.size(), 35u);
    for (const auto& set : sets) {
        EXPECT_EQ(set.front(), 8);
        EXPECT_EQ(std::count(set.begin(), set.end(), 8), 1);
    }
}

TEST(LoopSets, SchedulerSetsCoverRepeatsAndRespectTheChoiceRules)
{
    const auto sets = scheduler_sets();
    auto has = [&](std::vector<int> s) { return std::find(sets.begin(), sets.end(), s) != sets.end(); };
    EXPECT_TRUE(has({8}));                // resting bird
    EXPECT_TRUE(has({8, 8, 8, 8, 8}));    // first cycle, all coins heads
    EXPECT_TRUE(has({1, 1, 1, 1, 8}));    // dropping with still wings
    EXPECT_TRUE(has({1, 3, 6, 7, 8}));
    EXPECT_TRUE(has({2, 4, 5, 5, 8}));
    EXPECT_TRUE(has({2, 4, 4, 4, 8}));
    for (const auto& set : sets) {
        EXPECT_LE(set.size(), 5u);
        EXPECT_GE(std::count(set.begin(), set.end(), 8), 1);
        EXPECT_LE(std::count(set.begin(), set.end(), 7), 1);
        auto both = [&](int a, int b) {
            return std::count(set.begin(), set.end(), a) && std::count(set.begin(), set.end(), b);
        };
        EXPECT_FALSE(both(1, 2));
        EXPECT_FALSE(both(3, 4));
        EXPECT_FALSE(both(5, 6));
        EXPECT_FALSE(both(3, 5)) << "one wing cannot sink and rise at once";
        EXPECT_FALSE(both(4, 6));
    }
}

}  // namespace
}  // namespace vantrel::assetgen
