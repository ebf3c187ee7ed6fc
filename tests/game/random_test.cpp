// The generator's sequence from its start state, its derived draws, and the
// uneven results that truncation toward zero gives the game's ranges.
#include "game/random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace vantrel {
namespace {

class RandomTest : public ::testing::Test {
protected:
    void SetUp() override { set_random_state(RANDOM_START_STATE); }
    void TearDown() override { set_random_state(RANDOM_START_STATE); }
};

TEST_F(RandomTest, StartStateIs4660)
{
    EXPECT_EQ(get_random_state(), 4660);
}

TEST_F(RandomTest, FirstSixStepsFromStartState)
{
    // random_float draws exactly one step, so the state shows each step.
    const int32_t expected[] = {224942860, 539475828, 650989866,
                                1951098782, 1446483090, 2049422479};
    for (int32_t s : expected) {
        random_float();
        EXPECT_EQ(get_random_state(), s);
    }
}

TEST_F(RandomTest, FirstFloatIsBits4To27OfFirstState)
{
    const float f = random_float();
    EXPECT_EQ(f, 14058928.0f / 16777216.0f);
    EXPECT_DOUBLE_EQ(static_cast<double>(f), 0.837977409362793);
}

TEST_F(RandomTest, FirstDoubleUsesTwoSteps)
{
    const double d = random_double();
    EXPECT_DOUBLE_EQ(d, 0.4189887270692887);
    EXPECT_EQ(get_random_state(), 539475828);
    // Built from the two states by hand: (s1 & 1FFFFFFC) + (s2 & 1FFFFFF8) / 2^27, over 2^29.
    const double a = 224942860 & 0x1FFFFFFC;
    const double b = 539475828 & 0x1FFFFFF8;
    EXPECT_EQ(d, (a + b / 134217728.0) / 536870912.0);
}

TEST_F(RandomTest, FirstIntDrawsOfTheGame)
{
    EXPECT_EQ(random_int(0, 1000), 419);
    set_random_state(RANDOM_START_STATE);
    EXPECT_EQ(random_int(1, 20), 9);
    EXPECT_EQ(get_random_state(), 539475828);
}

TEST_F(RandomTest, SingleValueRanges)
{
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(random_int(5, 5), 5);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(random_int(-5, -5), -4); // -5 + draw truncates toward zero
}

TEST_F(RandomTest, ReversedBoundsCountFromHi)
{
    // range -2: value = draw * 3 + 1, so 1, 2 or 3.
    std::map<int32_t, int> seen;
    for (int i = 0; i < 3000; ++i)
        ++seen[random_int(3, 1)];
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_GT(seen[1], 0);
    EXPECT_GT(seen[3], 0);
}

TEST_F(RandomTest, SetStateRejectsZeroAndModulus)
{
    set_random_state(0);
    EXPECT_EQ(get_random_state(), 4660);
    set_random_state(2147483647);
    EXPECT_EQ(get_random_state(), 4660);
    set_random_state(-1);
    EXPECT_EQ(get_random_state(), 4660);
    set_random_state(static_cast<int32_t>(0x80000005));
    EXPECT_EQ(get_random_state(), 5);
}

TEST_F(RandomTest, StateStaysInsideOpenRange)
{
    set_random_state(2147483646);
    for (int i = 0; i < 100000; ++i) {
        random_float();
        ASSERT_GE(get_random_state(), 1);
        ASSERT_LE(get_random_state(), 2147483646);
    }
}

TEST_F(RandomTest, BetweenAcceptsEitherOrder)
{
    const double first = random_between(2.0, 4.0);
    set_random_state(RANDOM_START_STATE);
    const double second = random_between(4.0, 2.0);
    EXPECT_DOUBLE_EQ(first, 0.4189887270692887 * 2.0 + 2.0);
    EXPECT_EQ(first, second);
}

// Over a long fixed sequence each result's share must be near its chance.
void expect_shares(int32_t lo, int32_t hi, const std::map<int32_t, double>& chance)
{
    set_random_state(RANDOM_START_STATE);
    constexpr int N = 600000;
    std::map<int32_t, int> counts;
    for (int i = 0; i < N; ++i)
        ++counts[random_int(lo, hi)];
    for (const auto& [value, count] : counts)
        ASSERT_TRUE(chance.count(value)) << "unexpected result " << value;
    for (const auto& [value, p] : chance) {
        const double share = static_cast<double>(counts[value]) / N;
        const double tolerance = 5 * std::sqrt(p * (1 - p) / N);
        EXPECT_NEAR(share, p, tolerance) << "result " << value;
    }
}

std::map<int32_t, double> uniform(int32_t lo, int32_t hi)
{
    std::map<int32_t, double> m;
    for (int32_t v = lo; v <= hi; ++v)
        m[v] = 1.0 / (hi - lo + 1);
    return m;
}

TEST_F(RandomTest, GameRangesWithoutZeroCrossingAreEven)
{
    expect_shares(0, 1, uniform(0, 1));
    expect_shares(1, 10, uniform(1, 10));
    expect_shares(1, 20, uniform(1, 20));
    expect_shares(0, 400, uniform(0, 400));
}

TEST_F(RandomTest, ZeroCrossingRangesFavourZero)
{
    expect_shares(-1, 1, {{0, 2.0 / 3}, {1, 1.0 / 3}});
    expect_shares(-2, 1, {{-1, 0.25}, {0, 0.5}, {1, 0.25}});
    std::map<int32_t, double> wide = uniform(-99, 740);
    wide[0] = 2.0 / 841;
    for (auto& [value, p] : wide)
        if (value != 0)
            p = 1.0 / 841;
    expect_shares(-100, 740, wide);
}

TEST_F(RandomTest, ThousandRangeReachesBothEnds)
{
    std::map<int32_t, int> counts;
    for (int i = 0; i < 200000; ++i)
        ++counts[random_int(0, 1000)];
    EXPECT_EQ(counts.size(), 1001u);
    EXPECT_EQ(counts.begin()->first, 0);
    EXPECT_EQ(counts.rbegin()->first, 1000);
}

} // namespace
} // namespace vantrel
