// The file writers and the reproducible maths under the generators.
#include "common/det_math.h"
#include "common/noise.h"
#include "common/png_file.h"
#include "common/wav_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace vantrel::assetgen {
namespace {

TEST(WavWriter, WritesTheCanonicalHeader)
{
    const Bytes bytes = encode_wav({1, -1, 300, -300}, "Hi");
    // RIFF, size, WAVE, "fmt " 16, PCM, 2 ch, 22050, 88200, 4, 16, "data" 8.
    const uint8_t header[44] = {'R', 'I', 'F', 'F', 0,   0,    0,   0,   'W', 'A', 'V', 'E', 'f', 'm', 't',
                                ' ', 16,  0,   0,   0,   1,    0,   2,   0,   0x22, 0x56, 0,  0,   0x88, 0x58,
                                1,   0,   4,   0,   16,  0,    'd', 'a', 't', 'a', 8,   0,   0,   0};
    ASSERT_GE(bytes.size(), 44u);
    for (size_t i = 0; i < 44; ++i) {
        if (i >= 4 && i <= 7)
            continue;  // the RIFF size, checked below
        EXPECT_EQ(bytes[i], header[i]) << "byte " << i;
    }
    EXPECT_EQ(get_u32le(bytes, 4), bytes.size() - 8);
    EXPECT_EQ(bytes.size() % 2, 0u);
}

TEST(WavWriter, RoundTripsSamplesAndTitle)
{
    const StereoPcm pcm{0, 32767, -32767, 5, -1, 1};
    const auto info = parse_wav(encode_wav(pcm, "Loop title"));
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->samples, pcm);
    EXPECT_EQ(info->title, "Loop title");
    ASSERT_EQ(info->chunks.size(), 3u);
    EXPECT_EQ(info->chunks[2].tag, "LIST");
}

TEST(WavWriter, RefusesHalfFrames)
{
    EXPECT_THROW(encode_wav({1, 2, 3}, ""), std::invalid_argument);
}

TEST(WavParser, RejectsForeignAndTruncatedData)
{
    EXPECT_FALSE(parse_wav({}).has_value());
    EXPECT_FALSE(parse_wav(Bytes{'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}).has_value());
    Bytes bytes = encode_wav({1, 2, 3, 4}, "");
    bytes.resize(bytes.size() - 2);  // the data chunk now runs past the end
    EXPECT_FALSE(parse_wav(bytes).has_value());
}

TEST(PngWriter, RoundTripsPixelsAsPlainRgb)
{
    RgbImage image(3, 2, {1, 2, 3});
    image.set(2, 1, {255, 0, 255});
    const Bytes bytes = encode_png_rgb(image);
    const auto decoded = decode_png(bytes);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->header.colour_type, 2);
    EXPECT_EQ(decoded->header.bit_depth, 8);
    EXPECT_EQ(decoded->image.bytes(), image.bytes());
    EXPECT_EQ(encode_png_rgb(image), bytes) << "encoding must be repeatable";
}

TEST(PngReader, RejectsDamagedFiles)
{
    EXPECT_FALSE(decode_png({1, 2, 3}).has_value());
    Bytes bytes = encode_png_rgb(RgbImage(4, 4, {9, 9, 9}));
    bytes.resize(bytes.size() / 2);
    EXPECT_FALSE(decode_png(bytes).has_value());
    EXPECT_TRUE(list_png_chunks(bytes).empty());
}

TEST(PngChunks, DetectABadChecksum)
{
    Bytes bytes = encode_png_rgb(RgbImage(2, 2));
    bytes[20] ^= 1;  // inside IHDR's payload
    const auto chunks = list_png_chunks(bytes);
    ASSERT_FALSE(chunks.empty());
    EXPECT_FALSE(chunks[0].crc_ok);
}

TEST(DetMath, SineMatchesTheLibraryClosely)
{
    for (int i = -2000; i <= 2000; ++i) {
        const double turns = i / 797.0;
        EXPECT_NEAR(sin_turns(turns), std::sin(turns * kTwoPi), 1e-11) << turns;
        EXPECT_NEAR(table_sin(turns), std::sin(turns * kTwoPi), 2e-7) << turns;
    }
    EXPECT_EQ(sin_turns(0.0), 0.0);
    EXPECT_NEAR(cos_turns(0.0), 1.0, 1e-12);
}

TEST(DetMath, ExponentialAndPitchesMatchTheLibrary)
{
    for (double x : {-30.0, -3.2, -1.0, -1e-6, 0.0, 0.5, 1.0, 7.25, 40.0})
        EXPECT_NEAR(exp_det(x) / std::exp(x), 1.0, 1e-13) << x;
    EXPECT_DOUBLE_EQ(midi_hz(69), 440.0);
    EXPECT_NEAR(midi_hz(81), 880.0, 1e-9);
    EXPECT_NEAR(midi_hz(62), 293.6647679, 1e-6);
}

TEST(DetMath, RoundsHalvesAwayFromZeroAndClamps)
{
    EXPECT_EQ(round_to_int(2.5), 3);
    EXPECT_EQ(round_to_int(-2.5), -3);
    EXPECT_EQ(round_to_int(-0.4), 0);
    EXPECT_EQ(to_byte(255.6), 255);
    EXPECT_EQ(to_byte(-3.0), 0);
    EXPECT_EQ(to_pcm16(40000.0), 32767);
    EXPECT_EQ(to_pcm16(-40000.0), -32767);
}

TEST(Noise, IsRepeatableAndBounded)
{
    Random a(7), b(7), c(8);
    bool differs = false;
    for (int i = 0; i < 100; ++i) {
        const double x = a.next_unit();
        EXPECT_EQ(x, b.next_unit());
        differs |= x != c.next_unit();
        EXPECT_GE(x, 0.0);
        EXPECT_LT(x, 1.0);
    }
    EXPECT_TRUE(differs);
    for (int i = 0; i < 200; ++i) {
        const double v = fractal_noise(i * 0.37, i * 0.11, 5u, 4);
        EXPECT_GE(v, 0.0);
        EXPECT_LT(v, 1.0);
    }
    EXPECT_NEAR(value_noise(3.0, 4.0, 1u), lattice_unit(3, 4, 1u), 1e-15);
}

}  // namespace
}  // namespace vantrel::assetgen
