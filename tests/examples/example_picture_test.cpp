// The picture example on the tests' X server: its 10th and 40th frames, dumped
// by the example itself, show the line of text unchanged and the red and
// green bar where the example's motion puts it, turned 3 degrees a frame.
#include "example_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

using vantrel::test::ExampleProcess;

struct Frame {
    int width = 0;
    int height = 0;
    std::string rgb; // rows of red, green, blue
    int channel(int x, int y, int c) const
    {
        return static_cast<uint8_t>(rgb[(static_cast<size_t>(y) * width + x) * 3 + c]);
    }
};

// Parses the binary PPM the example writes; an empty frame when it is not one.
Frame read_ppm(const std::string& bytes)
{
    std::istringstream in(bytes);
    std::string magic;
    int maxval = 0;
    Frame frame;
    in >> magic >> frame.width >> frame.height >> maxval;
    in.get();
    const size_t size = static_cast<size_t>(frame.width) * frame.height * 3;
    if (magic != "P6" || maxval != 255 || bytes.size() < size || !in)
        return {};
    frame.rgb = bytes.substr(bytes.size() - size);
    return frame;
}

struct Centroid {
    double x = 0, y = 0;
    long count = 0;
};

// The centroid of the pixels clearly of one primary: 0 red, 1 green.
Centroid centroid(const Frame& f, int primary)
{
    Centroid c;
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x)
            if (f.channel(x, y, primary) > 150 && f.channel(x, y, 1 - primary) < 90) {
                c.x += x;
                c.y += y;
                ++c.count;
            }
    if (c.count) {
        c.x /= c.count;
        c.y /= c.count;
    }
    return c;
}

// White pixels of the text line, as a string of 0s and 1s.
std::string text_mask(const Frame& f)
{
    std::string mask;
    for (int y = 16; y < 32; ++y)
        for (int x = 16; x < 16 + 8 * 50; ++x)
            mask += f.channel(x, y, 0) > 200 && f.channel(x, y, 1) > 200 && f.channel(x, y, 2) > 200 ? '1' : '0';
    return mask;
}

Frame run_for(int frames)
{
    const std::string dump = vantrel::test::temp_file("frame_" + std::to_string(frames) + ".ppm");
    ExampleProcess example(EXAMPLE_PICTURE, {"--frames", std::to_string(frames), "--dump", dump, PICTURE_PNG}, {});
    EXPECT_EQ(example.wait_exit(), 0);
    Frame frame = read_ppm(vantrel::test::read_file(dump));
    std::remove(dump.c_str());
    return frame;
}

constexpr double DEGREES = 3.14159265358979 / 180;

// Where the example draws the bar in frame f (counting from 0), its angle in degrees.
void expect_bar_at(const Frame& f, int frame)
{
    const Centroid red = centroid(f, 0), green = centroid(f, 1);
    ASSERT_GT(red.count, 1000) << "frame " << frame;
    ASSERT_GT(green.count, 1000) << "frame " << frame;
    // 64 x 32 at scale 1.5: each half 48 x 48 pixels, give or take the edges.
    EXPECT_NEAR(red.count, 48 * 48, 250);
    EXPECT_NEAR(green.count, 48 * 48, 250);
    EXPECT_NEAR((red.x + green.x) / 2, 320 + 200 * std::sin(0.05 * frame), 2) << "frame " << frame;
    EXPECT_NEAR((red.y + green.y) / 2, 260 + 120 * std::cos(0.03 * frame), 2) << "frame " << frame;
    const double angle = std::atan2(green.y - red.y, green.x - red.x) / DEGREES;
    EXPECT_NEAR(std::remainder(angle - 3.0 * frame, 360), 0, 2) << "frame " << frame;
}

TEST(ExamplePicture, TextStaysWhileThePictureMovesAndTurns)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "no display";
    const Frame early = run_for(10), late = run_for(40);
    ASSERT_EQ(early.width, 640);
    ASSERT_EQ(early.height, 480);
    ASSERT_EQ(late.width, 640);
    expect_bar_at(early, 9);
    expect_bar_at(late, 39);

    const std::string text = text_mask(early);
    const auto lit = std::count(text.begin(), text.end(), '1');
    EXPECT_GT(lit, 500) << "no line of text";
    EXPECT_EQ(text, text_mask(late)) << "the text moved or changed";
}

TEST(ExamplePicture, AMissingPictureIsAClearFailure)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "no display";
    ExampleProcess example(EXAMPLE_PICTURE, {"--frames", "2", "no-such-picture.png"}, {});
    EXPECT_EQ(example.wait_exit(), 1);
}

} // namespace
