// The collision example for five seconds, its sound through SDL's disk audio
// driver: the ring's touches of the turning bar come and go as the geometry
// says, the last frame shows the offscreen court, the bar and the ring in the
// colour of its last reported state, and the streamed music is heard in both
// channels.
#include "example_process.h"
#include "heard.h"
#include "png_frame.h"

#include "../audio/wav_builder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using vantrel::test::ExampleProcess;

constexpr int FRAMES = 300;

// Two seconds of a 440 Hz tone, 16-bit stereo at 44100 Hz, as a WAV file.
void write_music(const std::string& path)
{
    std::vector<int16_t> samples;
    for (int i = 0; i < 2 * 44100; ++i) {
        const auto value = static_cast<int16_t>(8000 * std::sin(2 * 3.14159265358979 * 440 * i / 44100));
        samples.push_back(value);
        samples.push_back(value);
    }
    const std::vector<uint8_t> bytes =
        vantrel::test::WavBuilder().header(2, 44100, 16).chunk("data", vantrel::test::le16(samples)).bytes;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

struct Change {
    bool touch;
    int frame;
};

std::vector<Change> changes(const std::string& printed)
{
    std::vector<Change> out;
    std::istringstream lines(printed);
    for (std::string word; lines >> word;) {
        int frame = -1;
        if ((word == "touch" || word == "apart") && lines >> frame)
            out.push_back({word == "touch", frame});
    }
    return out;
}

TEST(ExampleCollide, TouchesFollowTheGeometryTheFrameShowsThemAndTheMusicIsHeard)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "no display";
    const std::string music = vantrel::test::temp_file("collide.wav");
    const std::string sound = vantrel::test::temp_file("collide.raw");
    const std::string shot = vantrel::test::temp_file("collide.png");
    const std::string out = vantrel::test::temp_file("collide.txt");
    write_music(music);
    {
        ExampleProcess example(EXAMPLE_COLLIDE,
                               {"--frames", std::to_string(FRAMES), "--dump", shot, "--music", music},
                               {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + sound}, out);
        ASSERT_EQ(example.wait_exit(), 0);
    }
    const std::string printed = vantrel::test::read_file(out);
    const std::string heard_bytes = vantrel::test::read_file(sound);
    const vantrel::test::Frame f = vantrel::test::read_png(shot);
    for (const std::string& file : {music, sound, shot, out})
        std::remove(file.c_str());

    // Apart at the left edge; the ring reaches the bar's turning circle
    // (200 long: 100 from the centre, the ring 31 wide) about a second in,
    // and touches and parts as the bar sweeps round and the ring passes.
    const std::vector<Change> seen = changes(printed);
    ASSERT_GE(seen.size(), 2u) << printed;
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].touch, i % 2 == 0) << printed; // touch, apart, touch...
        if (i > 0) {
            EXPECT_GT(seen[i].frame, seen[i - 1].frame) << printed;
        }
    }
    // x = 60 + 520 t / 240: within 131 of 320 from frame 59 on.
    EXPECT_GE(seen.front().frame, 59) << printed;

    ASSERT_EQ(f.width, 640) << "no frame saved";
    ASSERT_EQ(f.height, 480);
    auto rgb = [&](int x, int y) {
        return std::to_string(f.channel(x, y, 0)) + "," + std::to_string(f.channel(x, y, 1)) + "," +
               std::to_string(f.channel(x, y, 2));
    };
    EXPECT_EQ(rgb(20, 20), "20,70,40");   // the court, drawn once offscreen
    EXPECT_EQ(rgb(40, 20), "60,130,80");  // one of its lines
    EXPECT_EQ(rgb(320, 240), "230,230,230"); // the bar's centre
    // The last frame's ring, in the colour of the last state printed.
    const float t = static_cast<float>((FRAMES - 1) % 480) / 240.0f;
    const int ring_x = static_cast<int>(60 + 520 * (t <= 1 ? t : 2 - t));
    const bool touching = seen.back().touch;
    EXPECT_EQ(rgb(ring_x, 240 - 26), touching ? "255,60,40" : "80,200,255") << printed;

    // The music, mixed from its stream: 440 Hz in both channels, a tone and
    // not noise, for most of the run (the device writes silence before the
    // first sound and after the last).
    int tenths = 0;
    for (size_t first = 0; (first + 4410) * 4 <= heard_bytes.size(); first += 4410) {
        const vantrel::test::Channels heard = vantrel::test::read_disk_audio(heard_bytes, first, 4410);
        tenths += vantrel::test::strength(heard.left, 440) > 1000 &&
                  vantrel::test::strength(heard.right, 440) > 1000 &&
                  vantrel::test::strength(heard.left, 1000) < 100;
    }
    EXPECT_GE(tenths, 20) << "the music heard for " << tenths << " tenths of a second";
}

} // namespace
