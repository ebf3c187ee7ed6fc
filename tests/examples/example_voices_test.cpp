// The voices example through SDL's disk audio driver, taken apart by
// frequency in tenths of a second: the 220 Hz hum's pan carries it from the
// left channel to the right and back, and the 660 Hz tone's rate and volume
// move its pitch between 330 and 990 Hz and its level from silence to full.
// The blips, at 1320 Hz, stay out of both measurements.
#include "example_process.h"
#include "heard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using vantrel::test::Channels;
using vantrel::test::ExampleProcess;
using vantrel::test::read_disk_audio;
using vantrel::test::strength;

constexpr size_t WINDOW = 4410; // a tenth of a second of 44100 Hz frames

struct Window {
    double hum_left = 0, hum_right = 0;
    double tone_hertz = 0, tone_level = 0; // the strongest of 300 to 1000 Hz
    double balance() const { return (hum_left - hum_right) / (hum_left + hum_right); }
};

Window measure(const std::vector<double>& left, const std::vector<double>& right)
{
    Window w{strength(left, 220), strength(right, 220), 0, 0};
    std::vector<double> mid(left.size());
    for (size_t i = 0; i < left.size(); ++i)
        mid[i] = (left[i] + right[i]) / 2;
    for (double hertz = 300; hertz <= 1000; hertz += 10) {
        const double level = strength(mid, hertz);
        if (level > w.tone_level)
            w = {w.hum_left, w.hum_right, hertz, level};
    }
    return w;
}

// The windows of a 16-bit stereo file in which the hum is heard.
std::vector<Window> heard_windows(const std::string& bytes)
{
    std::vector<Window> out;
    for (size_t start = 0; (start + WINDOW) * 4 <= bytes.size(); start += WINDOW) {
        const Channels heard = read_disk_audio(bytes, start, WINDOW);
        const Window w = measure(heard.left, heard.right);
        if (w.hum_left + w.hum_right > 4000) // the device writes silence before
            out.push_back(w);
    }
    return out;
}

TEST(ExampleVoices, PanRateAndVolumeChangeWhatIsHeard)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "no display";
    const std::string file = vantrel::test::temp_file("voices.raw");
    {
        // 480 frames, 8 s: the pan runs from -1 to 1 and back twice in them,
        // the rate and the volume through more than a cycle. On a loaded
        // machine the output may run behind the frames and drop stretches of
        // them, so no one moment is relied on.
        ExampleProcess example(EXAMPLE_VOICES, {"--frames", "480"},
                               {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + file});
        ASSERT_EQ(example.wait_exit(), 0);
    }
    const std::vector<Window> heard = heard_windows(vantrel::test::read_file(file));
    std::remove(file.c_str());
    std::string trace; // hum balance / tone pitch / tone level, each tenth of a second
    for (const Window& w : heard)
        trace += std::to_string(w.balance()).substr(0, 5) + "/" + std::to_string(int(w.tone_hertz)) +
                 "/" + std::to_string(int(w.tone_level)) + " ";
    ASSERT_GE(heard.size(), 20u) << "less than 2 s of the hum heard";

    // The hum pans fully left and fully right, and passes the middle on its
    // way rather than jumping.
    auto [leftmost, rightmost] = std::minmax_element(
        heard.begin(), heard.end(), [](auto& a, auto& b) { return a.balance() > b.balance(); });
    EXPECT_GT(leftmost->balance(), 0.6) << trace;
    EXPECT_LT(rightmost->balance(), -0.6) << trace;
    EXPECT_GE(std::count_if(heard.begin(), heard.end(),
                            [](auto& w) { return std::abs(w.balance()) < 0.3; }),
              2)
        << trace;

    // The tone glides in pitch, swells and fades.
    double lowest = 1e9, highest = 0, softest = 1e9, loudest = 0;
    for (const Window& w : heard) {
        lowest = std::min(lowest, w.tone_hertz);
        highest = std::max(highest, w.tone_hertz);
        softest = std::min(softest, w.tone_level);
        loudest = std::max(loudest, w.tone_level);
    }
    EXPECT_LT(lowest, 450) << trace;  // rate 0.5 plays it at 330 Hz
    EXPECT_GT(highest, 870) << trace; // rate 1.5 at 990 Hz
    EXPECT_GT(loudest, 2000) << trace;
    EXPECT_LT(softest, loudest / 4) << trace;
}

} // namespace
