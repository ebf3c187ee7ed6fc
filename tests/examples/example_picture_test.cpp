// The picture example on the tests' X server: its 10th and 40th frames, saved
// by the example itself as PNG files, show the line of text unchanged, the
// red and green bar where the example's motion puts it, turned 3 degrees a
// frame, and the badge it drew once into an offscreen image, the right way
// up; the badge saved on its own is the same picture.
#include "example_process.h"
#include "png_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using vantrel::test::ExampleProcess;
using vantrel::test::Frame;
using vantrel::test::read_png;

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

Frame run_for(int frames, Frame* badge = nullptr)
{
    const std::string dump = vantrel::test::temp_file("frame_" + std::to_string(frames) + ".png");
    const std::string dump_badge = vantrel::test::temp_file("badge_" + std::to_string(frames) + ".png");
    ExampleProcess example(EXAMPLE_PICTURE, {"--frames", std::to_string(frames), "--dump", dump,
                                             "--dump-badge", dump_badge, PICTURE_PNG}, {});
    EXPECT_EQ(example.wait_exit(), 0);
    Frame frame = read_png(dump);
    if (badge)
        *badge = read_png(dump_badge);
    std::remove(dump.c_str());
    std::remove(dump_badge.c_str());
    return frame;
}

// The badge: a yellow band on top of a blue card with white letters.
void expect_badge(const Frame& f, int left, int top)
{
    auto colour = [&](int x, int y) {
        return std::array<int, 3>{f.channel(left + x, top + y, 0), f.channel(left + x, top + y, 1),
                                  f.channel(left + x, top + y, 2)};
    };
    int yellow = 0, blue = 0, white = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 160; ++x) {
            const auto c = colour(x, y);
            yellow += c == std::array<int, 3>{255, 220, 0} && y < 6;
            blue += c == std::array<int, 3>{40, 60, 160} && y >= 6;
            white += c == std::array<int, 3>{255, 255, 255} && y >= 16 && y < 32;
        }
    EXPECT_EQ(yellow, 160 * 6) << "the band is along the top";
    EXPECT_GT(white, 100) << "no letters";
    EXPECT_EQ(blue + white, 160 * 34);
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
    Frame badge;
    const Frame early = run_for(10, &badge), late = run_for(40);
    ASSERT_EQ(early.width, 640);
    ASSERT_EQ(early.height, 480);
    ASSERT_EQ(late.width, 640);
    expect_bar_at(early, 9);
    expect_bar_at(late, 39);

    const std::string text = text_mask(early);
    const auto lit = std::count(text.begin(), text.end(), '1');
    EXPECT_GT(lit, 500) << "no line of text";
    EXPECT_EQ(text, text_mask(late)) << "the text moved or changed";

    ASSERT_EQ(badge.width, 160);
    ASSERT_EQ(badge.height, 40);
    expect_badge(badge, 0, 0);
    expect_badge(early, 16, 424);
    expect_badge(late, 16, 424);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 160; ++x)
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(badge.channel(x, y, c), late.channel(16 + x, 424 + y, c)) << x << ", " << y;
    EXPECT_EQ(badge.channel(0, 0, 3), 255) << "cleared opaque";
}

TEST(ExamplePicture, AMissingPictureIsAClearFailure)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "no display";
    ExampleProcess example(EXAMPLE_PICTURE, {"--frames", "2", "no-such-picture.png"}, {});
    EXPECT_EQ(example.wait_exit(), 1);
}

} // namespace
