// The eight committed music loops: file layout, length, clean edges, stereo
// placement and mixing headroom over every set the music can start.
#include "asset_data.h"

#include "common/loop_stats.h"
#include "common/wav_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <string>
#include <vector>

namespace vantrel::assetgen {
namespace {

std::string loop_name(int n)
{
    return "sound" + std::to_string(n) + ".wav";
}

class MusicLoops : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        for (int n = 1; n <= 8; ++n) {
            const auto info = parse_wav(committed_asset(loop_name(n)));
            infos_.push_back(info.value_or(WavInfo{}));
            loops_.push_back(infos_.back().samples);
        }
    }
    static std::vector<WavInfo> infos_;
    static std::vector<StereoPcm> loops_;
};

std::vector<WavInfo> MusicLoops::infos_;
std::vector<StereoPcm> MusicLoops::loops_;

double channel_rms(const StereoPcm& pcm, size_t channel)
{
    double sum = 0.0;
    for (size_t i = channel; i < pcm.size(); i += 2)
        sum += static_cast<double>(pcm[i]) * pcm[i];
    return std::sqrt(sum / static_cast<double>(pcm.size() / 2));
}

double crossings_per_second(const StereoPcm& pcm)
{
    size_t crossings = 0;
    for (size_t i = 2; i < pcm.size(); i += 2)
        if ((pcm[i - 2] < 0) != (pcm[i] < 0))
            ++crossings;
    return static_cast<double>(crossings) / (static_cast<double>(pcm.size() / 2) / kWavRate);
}

TEST_F(MusicLoops, HaveTheGameFormatWithFmtFirstAndDataSecond)
{
    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE(loop_name(n));
        const WavInfo& info = infos_[static_cast<size_t>(n - 1)];
        ASSERT_GE(info.chunks.size(), 2u);
        EXPECT_EQ(info.chunks[0].tag, "fmt ");
        EXPECT_EQ(info.chunks[0].offset, 20u);  // directly after "WAVE"
        EXPECT_EQ(info.fmt_size, 16u);
        EXPECT_EQ(info.chunks[1].tag, "data");
        EXPECT_EQ(info.format_tag, 1u);
        EXPECT_EQ(info.channels, 2u);
        EXPECT_EQ(info.rate, 22050u);
        EXPECT_EQ(info.byte_rate, 88200u);
        EXPECT_EQ(info.block_align, 4u);
        EXPECT_EQ(info.bits, 16u);
        EXPECT_EQ(info.chunks[1].size % 4, 0u);
    }
}

TEST_F(MusicLoops, LastJustUnderSixteenSecondsAndAllAlike)
{
    for (int n = 1; n <= 8; ++n) {
        const size_t frames = loops_[static_cast<size_t>(n - 1)].size() / 2;
        EXPECT_GE(frames, 351232u) << loop_name(n);
        EXPECT_LE(frames, 352256u) << loop_name(n);
        EXPECT_EQ(frames, loops_[7].size() / 2) << "all loops share one length so bars line up";
    }
}

TEST_F(MusicLoops, CarryTheirTitleAfterTheSamples)
{
    for (int n = 1; n <= 8; ++n) {
        const WavInfo& info = infos_[static_cast<size_t>(n - 1)];
        ASSERT_EQ(info.chunks.size(), 3u) << loop_name(n);
        EXPECT_EQ(info.chunks[2].tag, "LIST");
        EXPECT_NE(info.title.find("loop " + std::to_string(n)), std::string::npos) << info.title;
    }
}

TEST_F(MusicLoops, StartAndEndAtSilenceWithoutAClick)
{
    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE(loop_name(n));
        const StereoPcm& pcm = loops_[static_cast<size_t>(n - 1)];
        ASSERT_GT(pcm.size(), 2000u);
        for (size_t i = 0; i < 8; ++i) {
            EXPECT_LE(std::abs(pcm[i]), 8);
            EXPECT_LE(std::abs(pcm[pcm.size() - 1 - i]), 8);
        }
        // The edge fades rise from silence no faster than a quadratic ramp
        // over the first and last 10 ms: no step at either end.
        const double peak = measure(pcm).peak;
        for (size_t frame = 0; frame < 220; ++frame) {
            const double t = static_cast<double>(frame) / 220.0;
            const double bound = 8.0 + peak * 3.0 * t * t;
            for (size_t channel = 0; channel < 2; ++channel) {
                EXPECT_LE(std::abs(pcm[2 * frame + channel]), bound) << "frame " << frame;
                EXPECT_LE(std::abs(pcm[pcm.size() - 2 - 2 * frame + channel]), bound) << "frame -" << frame + 1;
            }
        }
    }
}

TEST_F(MusicLoops, AreAudibleMusicNotPlaceholders)
{
    for (int n = 1; n <= 8; ++n) {
        const Level level = measure(loops_[static_cast<size_t>(n - 1)]);
        EXPECT_GT(level.rms, 1000.0) << loop_name(n);
        EXPECT_GT(level.peak, 3000) << loop_name(n);
    }
    // Layers are mixed under the bed, which must carry the tune alone.
    const double bed = measure(loops_[7]).rms;
    for (int n = 1; n <= 7; ++n)
        EXPECT_LT(measure(loops_[static_cast<size_t>(n - 1)]).rms, bed) << loop_name(n);
}

TEST_F(MusicLoops, WingLayersLeanTowardsTheirWing)
{
    for (int n : {3, 5}) {
        const StereoPcm& pcm = loops_[static_cast<size_t>(n - 1)];
        EXPECT_GT(channel_rms(pcm, 1), 1.5 * channel_rms(pcm, 0)) << loop_name(n) << " is a right-wing layer";
    }
    for (int n : {4, 6}) {
        const StereoPcm& pcm = loops_[static_cast<size_t>(n - 1)];
        EXPECT_GT(channel_rms(pcm, 0), 1.5 * channel_rms(pcm, 1)) << loop_name(n) << " is a left-wing layer";
    }
}

TEST_F(MusicLoops, HighFlightLayerSitsAboveTheBed)
{
    EXPECT_GT(crossings_per_second(loops_[6]), 3.0 * crossings_per_second(loops_[7]));
}

TEST_F(MusicLoops, BedPlusAnyFourOtherLoopsFitsSixteenBits)
{
    int worst = 0;
    for (const auto& set : base_plus_four_sets())
        worst = std::max(worst, peak_of_sum(loops_, set));
    EXPECT_LE(worst, 32767);
    std::printf("worst peak of the bed with four different layers: %d\n", worst);
}

TEST_F(MusicLoops, EverySetTheSchedulerCanStartFitsSixteenBits)
{
    int worst = 0;
    for (const auto& set : scheduler_sets())
        worst = std::max(worst, peak_of_sum(loops_, set));
    EXPECT_LE(worst, 32767);
    std::printf("worst peak of any set the scheduler starts: %d\n", worst);
}

}  // namespace
}  // namespace vantrel::assetgen
