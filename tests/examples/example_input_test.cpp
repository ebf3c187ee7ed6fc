// The input example on the tests' X server: xdotool presses keys, types,
// moves the pointer, clicks and turns the wheel in its window, and the
// example's printed read-out reports each change, and its event hook the
// mouse press; Escape ends it.
#include "example_process.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using vantrel::test::ExampleProcess;
using vantrel::test::run;

class ExampleInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "no display";
        if (!run("command -v xdotool"))
            GTEST_SKIP() << "xdotool is not installed";
    }
};

// Waits until the read-out holds the line, or two seconds have passed.
::testing::AssertionResult printed(const std::string& file, const std::string& line)
{
    std::string text;
    for (int i = 0; i < 200; ++i) {
        text = vantrel::test::read_file(file);
        if (("\n" + text).find("\n" + line + "\n") != std::string::npos)
            return ::testing::AssertionSuccess();
        vantrel::test::sleep_ms(10);
    }
    return ::testing::AssertionFailure() << "no \"" << line << "\" in the read-out:\n" << text;
}

TEST_F(ExampleInput, TheReadOutFollowsKeysPointerButtonsAndWheel)
{
    const std::string out = vantrel::test::temp_file("input.txt");
    // A bound on the run in case Escape never arrives: a minute of frames.
    ExampleProcess example(EXAMPLE_INPUT, {"--frames", "3600"}, {}, out);
    const std::string wid = example.window("Vantrel input example");
    ASSERT_FALSE(wid.empty()) << "no window appeared";
    ASSERT_TRUE(run("xdotool windowfocus --sync " + wid));

    ASSERT_TRUE(run("xdotool keydown a"));
    EXPECT_TRUE(printed(out, "key 65 held"));
    ASSERT_TRUE(run("xdotool keyup a"));
    EXPECT_TRUE(printed(out, "key 65 released"));
    EXPECT_TRUE(printed(out, "typed 97"));
    EXPECT_TRUE(printed(out, "key 65 hit 1"));
    // Taps too short for a frame to see them held still count as hits.
    ASSERT_TRUE(run("xdotool type Hi"));
    EXPECT_TRUE(printed(out, "key 72 hit 1"));
    EXPECT_TRUE(printed(out, "key 73 hit 1"));
    EXPECT_TRUE(printed(out, "typed 72"));
    EXPECT_TRUE(printed(out, "typed 105"));
    ASSERT_TRUE(run("xdotool keydown Shift_L"));
    EXPECT_TRUE(printed(out, "key 160 held"));
    ASSERT_TRUE(run("xdotool keyup Shift_L"));
    EXPECT_TRUE(printed(out, "key 160 released"));

    // Two moves: the pointer may already stand at either point, left there
    // by an earlier test on the same server, but not at both.
    ASSERT_TRUE(run("xdotool mousemove --window " + wid + " 100 80"));
    ASSERT_TRUE(run("xdotool mousemove --window " + wid + " 200 150"));
    EXPECT_TRUE(printed(out, "pointer 200 150"));
    ASSERT_TRUE(run("xdotool mousedown 1"));
    EXPECT_TRUE(printed(out, "button 1 held"));
    EXPECT_TRUE(printed(out, "event MouseDown: data=1, mods=0, x=200, y=150, extra=\"\""));
    ASSERT_TRUE(run("xdotool mouseup 1"));
    EXPECT_TRUE(printed(out, "button 1 released"));
    ASSERT_TRUE(run("xdotool click 4 click 4"));
    EXPECT_TRUE(printed(out, "wheel 2"));

    ASSERT_TRUE(run("xdotool key Escape"));
    EXPECT_EQ(example.wait_exit(10), 0);
    std::remove(out.c_str());
}

} // namespace
