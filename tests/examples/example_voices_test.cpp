// The voices example through SDL's disk audio driver: what it plays is
// heard, and the hum's pan carries the balance from the left channel to the
// right and back.
#include "example_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using vantrel::test::ExampleProcess;

// The hum's level in each channel over one tenth of a second: the strength
// of its 220 Hz, which neither the tone (330 to 990 Hz as its rate glides)
// nor the blips (880 Hz) reach.
struct Level {
    double left = 0, right = 0;
    double balance() const { return (left - right) / (left + right); } // 1 all left
};

double strength(const std::vector<double>& samples, double hertz)
{
    const double k = 2 * std::cos(2 * 3.14159265358979 * hertz / 44100);
    double s1 = 0, s2 = 0;
    for (double v : samples) {
        const double s0 = v + k * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return std::sqrt(std::max(0.0, s1 * s1 + s2 * s2 - k * s1 * s2)) / samples.size();
}

std::vector<Level> hum_levels(const std::string& bytes)
{
    constexpr size_t WINDOW = 4410; // frames of 44100 Hz stereo 16-bit
    std::vector<Level> out;
    std::vector<double> left(WINDOW), right(WINDOW);
    for (size_t start = 0; (start + WINDOW) * 4 <= bytes.size(); start += WINDOW) {
        for (size_t i = 0; i < WINDOW; ++i) {
            const auto* p = reinterpret_cast<const uint8_t*>(bytes.data() + 4 * (start + i));
            left[i] = static_cast<int16_t>(p[0] | p[1] << 8);
            right[i] = static_cast<int16_t>(p[2] | p[3] << 8);
        }
        out.push_back({strength(left, 220), strength(right, 220)});
    }
    return out;
}

TEST(ExampleVoices, TheHumPansFromLeftToRightAndBack)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "no display";
    const std::string file = vantrel::test::temp_file("voices.raw");
    {
        // 480 frames: the hum's pan runs from -1 to 1 and back twice.
        ExampleProcess example(EXAMPLE_VOICES, {"--frames", "480"},
                               {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + file});
        ASSERT_EQ(example.wait_exit(), 0);
    }
    const std::vector<Level> all = hum_levels(vantrel::test::read_file(file));
    std::remove(file.c_str());
    // The window opens while the device already writes silence.
    std::vector<Level> heard;
    for (const Level& level : all)
        if (level.left + level.right > 4000)
            heard.push_back(level);
    ASSERT_GE(heard.size(), 20u) << "less than 2 s of the hum heard out of " << all.size() / 10.0 << " s";

    std::string trace; // the balance of every tenth of a second heard
    for (const Level& level : heard)
        trace += std::to_string(level.balance()).substr(0, 5) + " ";
    // Fully left at frames 0, 240 and 480, fully right at 120 and 360. Two
    // whole sweeps are asked for: on a loaded machine the output may run
    // behind the frames and drop stretches of them.
    size_t leftmost = 0, rightmost = 0;
    for (size_t i = 0; i < heard.size(); ++i) {
        leftmost = heard[i].balance() > heard[leftmost].balance() ? i : leftmost;
        rightmost = heard[i].balance() < heard[rightmost].balance() ? i : rightmost;
    }
    EXPECT_GT(heard[leftmost].balance(), 0.6) << trace;
    EXPECT_LT(heard[rightmost].balance(), -0.6) << trace;
    // Between the two, the hum passes the middle rather than jumping.
    size_t centred = 0;
    for (const Level& level : heard)
        centred += std::abs(level.balance()) < 0.3;
    EXPECT_GE(centred, 2u) << trace;
}

} // namespace
