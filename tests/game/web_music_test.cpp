// The browser build's music loops, encoded here exactly as that build encodes
// them (vantrel_encode_music_loops), against the WAVs they come from: each
// must be Ogg Vorbis that the engine decodes to the WAV's frame count, rate
// and layout, since the channel table holds a loop for as long as it has
// frames, and must stay close to the WAV's sound. Prints each loop's
// signal-to-noise ratio.
#include "assets/stream.h"
#include "audio/ogg.h"
#include "audio/sample_buffer.h"
#include "audio/sample_loader.h"
#include "core/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace vantrel::test {
namespace {

// At quality 5 the loops measure 20 dB (loop 7) to 33 dB; a setting or an
// encoder that loses clearly more fails here.
constexpr double LEAST_SNR_DB = 17.0;

std::string wav_path(int n) { return std::string(VANTREL_WAV_DIR "/sound") + char('0' + n) + ".wav"; }
std::string ogg_path(int n)
{
    return std::string(VANTREL_WEB_MUSIC_DIR "/sound") + char('0' + n) + ".wav";
}

std::string first_bytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    char head[4] = {};
    file.read(head, 4);
    return std::string(head, static_cast<size_t>(file.gcount()));
}

class WebMusic : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        streams_init();
        sample_loaders_init();
        ogg_loader_init();
    }
};

// The signal's power over the power of the difference, both 16-bit
// little-endian PCM of the same layout and length.
double snr_db(const TSampleBuffer& want, const TSampleBuffer& got)
{
    const size_t values = static_cast<size_t>(want.frames) * 2;
    double signal = 0, noise = 0;
    for (size_t i = 0; i < values; ++i) {
        int16_t a, b;
        std::memcpy(&a, want.data + 2 * i, 2);
        std::memcpy(&b, got.data + 2 * i, 2);
        const double want_value = a, diff = static_cast<double>(b) - a;
        signal += want_value * want_value;
        noise += diff * diff;
    }
    return noise == 0 ? INFINITY : 10 * std::log10(signal / noise);
}

TEST_F(WebMusic, EachLoopIsOggVorbisWithTheWavsFramesRateAndLayout)
{
    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE(n);
        ASSERT_EQ(first_bytes(wav_path(n)), "RIFF");
        ASSERT_EQ(first_bytes(ogg_path(n)), "OggS");
        const Ref<TSampleBuffer> wav = load_sample_buffer(Text::from_bytes(wav_path(n)));
        const Ref<TSampleBuffer> ogg = load_sample_buffer(Text::from_bytes(ogg_path(n)));
        ASSERT_TRUE(wav);
        ASSERT_TRUE(ogg);
        EXPECT_EQ(ogg->frames, wav->frames);
        EXPECT_EQ(ogg->hertz, wav->hertz);
        EXPECT_EQ(ogg->format, wav->format);
    }
}

TEST_F(WebMusic, EachLoopSoundsCloseToItsWav)
{
    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE(n);
        const Ref<TSampleBuffer> wav = load_sample_buffer(Text::from_bytes(wav_path(n)));
        const Ref<TSampleBuffer> ogg = load_sample_buffer(Text::from_bytes(ogg_path(n)));
        ASSERT_TRUE(wav && ogg);
        ASSERT_EQ(wav->format, SAMPLE_STEREO16_LE);
        ASSERT_EQ(ogg->format, wav->format);
        ASSERT_EQ(ogg->frames, wav->frames);
        const double snr = snr_db(*wav, *ogg);
        std::printf("sound%d: %d frames at %d Hz, SNR %.1f dB\n", n, wav->frames, wav->hertz, snr);
        EXPECT_GE(snr, LEAST_SNR_DB);
    }
}

} // namespace
} // namespace vantrel::test
