// The text example on the tests' X server: its last frame shows the date
// centred at the top in the loaded font, antialiased, with the time and the
// tick count below; its timer's ticks reach the printed read-out; a font
// file that is not one falls back to the built-in font.
#include "example_process.h"
#include "png_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

using vantrel::test::ExampleProcess;
using vantrel::test::Frame;

const char* const FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// The bright pixels' box and how many pixels lie between background and white.
struct Ink {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1, bright = 0, between = 0;
};

Ink ink(const Frame& f, int top, int bottom)
{
    Ink k;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < f.width; ++x) {
            const int g = f.grey(x, y);
            if (g > 200) {
                ++k.bright;
                k.x0 = std::min(k.x0, x), k.x1 = std::max(k.x1, x);
                k.y0 = std::min(k.y0, y), k.y1 = std::max(k.y1, y);
            } else if (g > 60) {
                ++k.between;
            }
        }
    return k;
}

class ExampleText : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "no display";
    }
    Frame run(const std::vector<std::string>& extra, std::string& printed)
    {
        const std::string dump = vantrel::test::temp_file("text.png");
        const std::string out = vantrel::test::temp_file("text.txt");
        std::vector<std::string> args{"--frames", "90", "--dump", dump};
        args.insert(args.end(), extra.begin(), extra.end());
        {
            ExampleProcess example(EXAMPLE_TEXT, args, {}, out);
            EXPECT_EQ(example.wait_exit(), 0);
        }
        printed = vantrel::test::read_file(out);
        Frame f = vantrel::test::read_png(dump);
        std::remove(dump.c_str());
        std::remove(out.c_str());
        return f;
    }
};

TEST_F(ExampleText, DateTimeAndTicksInTheLoadedFont)
{
    if (!std::ifstream(FONT))
        GTEST_SKIP() << FONT << " is not installed";
    std::string printed;
    const Frame f = run({}, printed);
    ASSERT_EQ(f.width, 640);
    // The date: one line 32 pixels high at y 40, centred.
    const Ink date = ink(f, 30, 90);
    ASSERT_GT(date.bright, 200);
    EXPECT_GT(date.between, 50); // antialiased edges, which the built-in font has none of
    EXPECT_GE(date.y0, 40);
    EXPECT_LE(date.y1, 40 + 40);
    EXPECT_NEAR((date.x0 + date.x1) / 2.0, 320, 12);
    EXPECT_GT(date.x1 - date.x0, 120); // "10 Dec 2026" at 32 pixels
    EXPECT_GT(ink(f, 110, 170).bright, 200); // the time
    EXPECT_GT(ink(f, 190, 250).bright, 200); // the ticks
    // A second and a half at 30 ticks a second: a line each time the count
    // passes a multiple of 30. A frame that comes late sees the count of
    // the moment, so the first line may say more than 30.
    std::istringstream lines(printed);
    std::vector<int> counts;
    for (std::string word; lines >> word;)
        if (word == "ticks" && lines >> word)
            counts.push_back(std::atoi(word.c_str()));
    ASSERT_FALSE(counts.empty()) << printed;
    EXPECT_GE(counts.front(), 30) << printed;
    for (size_t i = 1; i < counts.size(); ++i)
        EXPECT_GT(counts[i] / 30, counts[i - 1] / 30) << printed;
}

TEST_F(ExampleText, AFileThatIsNoFontFallsBackToTheBuiltInFont)
{
    const std::string junk = vantrel::test::temp_file("junk.ttf");
    std::ofstream(junk) << "not a font at all";
    std::string printed;
    const Frame f = run({"--font", junk}, printed);
    std::remove(junk.c_str());
    ASSERT_EQ(f.width, 640);
    const Ink date = ink(f, 30, 90);
    ASSERT_GT(date.bright, 50);
    EXPECT_EQ(date.between, 0); // the built-in font's pixels are all or nothing
    EXPECT_LE(date.y1 - date.y0, 16);
}

} // namespace
