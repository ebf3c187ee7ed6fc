// The graphics layer over a recording display driver: settings, the frame
// schedule under an injected clock, generations and the error path.
#include "core/error.h"
#include "gfx/gl/gl_backend.h"
#include "gfx/graphics.h"
#include "input/hooks.h"
#include "input/polled_input.h"
#include "platform/manual_clock.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace vantrel;

namespace {

class FakeDriver;

class FakeGraphics final : public TGraphics {
public:
    FakeGraphics(Ref<FakeDriver> d, int32_t w, int32_t h, int32_t dp, int32_t hz, int32_t f, int n)
        : maker(std::move(d)), width(w), height(h), depth(dp), hertz(hz), flags(f), number(n)
    {
    }
    Ref<TDisplayDriver> driver() override;
    void get_settings(int32_t& w, int32_t& h, int32_t& d, int32_t& hz, int32_t& f) override
    {
        w = width, h = height, d = depth, hz = hertz, f = flags;
    }
    void close() override;

    Ref<FakeDriver> maker;
    int32_t width, height, depth, hertz, flags;
    int number;
    bool report_close = false; // says so on stderr, for the exit test
};

class FakeDriver final : public TDisplayDriver {
public:
    TGraphicsModeArray list_modes() override
    {
        ++mode_lists;
        if (no_modes)
            return {};
        return {make_ref<TGraphicsMode>()};
    }
    Ref<TGraphics> wrap_window(const Ref<TObject>&, int32_t) override { return nullptr; }
    Ref<TGraphics> make_graphics(int32_t w, int32_t h, int32_t d, int32_t hz, int32_t f) override
    {
        log.push_back("make " + std::to_string(f));
        if (raise_on_make)
            raise_error(u"GLGraphicsDriver failed to set display mode");
        if (refuse)
            return nullptr;
        return make_ref<FakeGraphics>(Ref<FakeDriver>(this), w, h, d, hz, f, ++made);
    }
    void bind_graphics(const Ref<TGraphics>& g) override
    {
        const Ref<FakeGraphics> fake = ref_cast<FakeGraphics>(g);
        log.push_back(fake ? "bind " + std::to_string(fake->number) : "bind null");
    }
    void flip(int32_t sync) override
    {
        flips.push_back(sync);
        if (clock && sync != 0)
            clock->advance(retrace_ms);
    }

    std::vector<std::string> log;
    std::vector<int32_t> flips;
    platform::ManualClock* clock = nullptr;
    uint32_t retrace_ms = 0; // what a waiting flip costs
    bool raise_on_make = false;
    bool no_modes = false; // like a display not yet reachable
    bool refuse = false;
    int made = 0;
    int mode_lists = 0;
};

Ref<TDisplayDriver> FakeGraphics::driver() { return maker; }

void FakeGraphics::close()
{
    maker->log.push_back("close " + std::to_string(number));
    if (report_close) {
        std::fputs("fake graphics closed\n", stderr);
        std::fflush(stderr);
    }
}

class GraphicsLayer : public ::testing::Test {
protected:
    void SetUp() override
    {
        gl_backend_init();
        graphics_init();
        driver = make_ref<FakeDriver>();
        driver->clock = &clock;
        select_display_driver(driver, GFX_BACK_BUFFER);
    }
    void TearDown() override
    {
        close_opened_graphics();
        select_display_driver(nullptr, 0);
    }

    platform::ManualClock clock{50000};
    platform::ScopedClock installed{clock};
    Ref<FakeDriver> driver;
};

TEST_F(GraphicsLayer, WindowedOpenReportsItsSettings)
{
    const Ref<TGraphics> g = open_graphics(640, 480, 0, 60, 0);
    ASSERT_TRUE(g);
    EXPECT_EQ(driver->log, (std::vector<std::string>{"make 2", "bind 1"}));
    EXPECT_TRUE(same_object(current_graphics(), g));
    EXPECT_TRUE(same_object(opened_graphics(), g));
    EXPECT_EQ(screen_width(), 640);
    EXPECT_EQ(screen_height(), 480);
    EXPECT_EQ(screen_depth(), 0);
    EXPECT_EQ(screen_hertz(), 60);
    EXPECT_EQ(screen_flags(), 2);
    const FramePacing p = frame_pacing();
    EXPECT_EQ(p.soft_sync, 1);
    EXPECT_EQ(p.ms_per_frame, 16);
    EXPECT_EQ(p.remainder, 40);
    EXPECT_EQ(p.accumulator, 0);
    EXPECT_EQ(p.next_frame_time, 50000);
    EXPECT_TRUE(input_polling_enabled());
    EXPECT_TRUE(last_graphics_error().empty());
}

TEST_F(GraphicsLayer, PacedFlipsFollowTheSixteenSeventeenSeventeenSchedule)
{
    ASSERT_TRUE(open_graphics(640, 480, 0, 60, 0));
    for (int i = 0; i < 6; ++i)
        flip_frame(-1);
    EXPECT_EQ(clock.sleeps, (std::vector<int32_t>{16, 17, 17, 16, 17, 17}));
    EXPECT_EQ(driver->flips, (std::vector<int32_t>(6, 0)));
    EXPECT_EQ(clock.now_ms(), 50100u);
}

TEST_F(GraphicsLayer, ScheduleIsAnchoredAtOpenNotAtTheFirstFlip)
{
    ASSERT_TRUE(open_graphics(640, 480, 0, 60, 0));
    clock.advance(10); // drawing the first frame
    flip_frame(-1);
    clock.advance(3);
    flip_frame(-1);
    EXPECT_EQ(clock.sleeps, (std::vector<int32_t>{6, 14}));
    EXPECT_EQ(clock.now_ms(), 50033u);
}

TEST_F(GraphicsLayer, LateFrameRestartsTheScheduleInsteadOfCatchingUp)
{
    ASSERT_TRUE(open_graphics(640, 480, 0, 60, 0));
    clock.advance(16 + 40);
    flip_frame(-1);
    EXPECT_TRUE(clock.sleeps.empty());
    EXPECT_EQ(frame_pacing().next_frame_time, 50056);
    flip_frame(-1);
    EXPECT_EQ(clock.sleeps, (std::vector<int32_t>{17}));
    EXPECT_EQ(driver->flips, (std::vector<int32_t>{0, 0}));
}

TEST_F(GraphicsLayer, ScheduleSurvivesTheClockWrap)
{
    clock.set(0xFFFFFFF8u);
    ASSERT_TRUE(open_graphics(640, 480, 0, 60, 0));
    flip_frame(-1);
    flip_frame(-1);
    EXPECT_EQ(clock.sleeps, (std::vector<int32_t>{16, 17}));
    EXPECT_EQ(clock.now_ms(), 25u);
}

TEST_F(GraphicsLayer, HertzZeroNeverPaces)
{
    ASSERT_TRUE(open_graphics(640, 480, 0, 0, 0));
    EXPECT_EQ(frame_pacing().soft_sync, 0);
    EXPECT_EQ(frame_pacing().ms_per_frame, 0);
    flip_frame(-1);
    flip_frame(-1);
    EXPECT_TRUE(clock.sleeps.empty());
    EXPECT_EQ(driver->flips, (std::vector<int32_t>{0, 0}));
}

TEST_F(GraphicsLayer, NegativeHertzPacesLikeZero)
{
    ASSERT_TRUE(open_graphics(640, 480, 0, -60, 0));
    EXPECT_EQ(frame_pacing().soft_sync, 0);
    flip_frame(-1);
    EXPECT_TRUE(clock.sleeps.empty());
}

TEST_F(GraphicsLayer, ExplicitSyncValuesGoStraightToTheDriver)
{
    ASSERT_TRUE(open_graphics(640, 480, 0, 60, 0));
    flip_frame(0);
    flip_frame(1);
    flip_frame(7);
    EXPECT_TRUE(clock.sleeps.empty());
    EXPECT_EQ(driver->flips, (std::vector<int32_t>{0, 1, 7}));
}

TEST_F(GraphicsLayer, FullScreenKeepsSoftwarePacingWhenRetraceIsOffRate)
{
    driver->retrace_ms = 5;
    ASSERT_TRUE(open_graphics(800, 600, 32, 60, 0));
    EXPECT_EQ(frame_pacing().soft_sync, 1);
    EXPECT_GE(clock.now_ms() - 50000u, 1000u); // tried for the whole second
    EXPECT_EQ(screen_depth(), 32);
}

TEST_F(GraphicsLayer, FullScreenTrustsRetraceThatKeepsTheRate)
{
    driver->retrace_ms = 17;
    ASSERT_TRUE(open_graphics(800, 600, 32, 60, 0));
    EXPECT_EQ(frame_pacing().soft_sync, 0);
    EXPECT_EQ(driver->flips.size(), 3u);
    driver->flips.clear();
    flip_frame(-1);
    EXPECT_EQ(driver->flips, (std::vector<int32_t>{1}));
}

TEST_F(GraphicsLayer, FlipBeforeOpenGoesToTheDriverUnpaced)
{
    flip_frame(-1);
    EXPECT_EQ(driver->flips, (std::vector<int32_t>{0}));
    EXPECT_TRUE(clock.sleeps.empty());
}

TEST_F(GraphicsLayer, OpeningTwiceClosesTheFirstAndCountsThreeGenerations)
{
    const int32_t before = graphics_seq();
    ASSERT_TRUE(open_graphics(640, 480, 0, 60, 0));
    ASSERT_TRUE(open_graphics(320, 200, 0, 60, 0));
    EXPECT_EQ(graphics_seq(), before + 3);
    EXPECT_EQ(driver->log, (std::vector<std::string>{"make 2", "bind 1", "bind null", "close 1",
                                                     "make 2", "bind 2"}));
    EXPECT_EQ(screen_width(), 320);
}

TEST_F(GraphicsLayer, ClosingWithNothingOpenChangesNothing)
{
    const int32_t before = graphics_seq();
    close_opened_graphics();
    EXPECT_EQ(graphics_seq(), before);
    EXPECT_TRUE(driver->log.empty());
}

TEST_F(GraphicsLayer, CloseForgetsTheGraphicsAndStopsPolling)
{
    ASSERT_TRUE(open_graphics(640, 480, 0, 60, 0));
    const int32_t before = graphics_seq();
    close_opened_graphics();
    EXPECT_EQ(graphics_seq(), next_graphics_seq(before));
    EXPECT_FALSE(opened_graphics());
    EXPECT_FALSE(current_graphics());
    EXPECT_EQ(screen_width(), 0);
    EXPECT_FALSE(input_polling_enabled());
}

TEST(GraphicsSeq, NeverBecomesZero)
{
    EXPECT_EQ(next_graphics_seq(-1), 1);
    EXPECT_EQ(next_graphics_seq(1), 2);
    EXPECT_EQ(next_graphics_seq(INT32_MAX), INT32_MIN);
    EXPECT_NE(graphics_seq(), 0);
}

TEST_F(GraphicsLayer, DriverErrorsGiveNullWithTheMessage)
{
    driver->raise_on_make = true;
    const int32_t before = graphics_seq();
    EXPECT_FALSE(open_graphics(640, 480, 0, 60, 0));
    EXPECT_EQ(last_graphics_error(), Text(u"GLGraphicsDriver failed to set display mode"));
    EXPECT_EQ(graphics_seq(), before);
    EXPECT_FALSE(opened_graphics());
    flip_frame(-1); // no target: the driver's flip is all that happens
    EXPECT_EQ(driver->flips, (std::vector<int32_t>{0}));
}

TEST_F(GraphicsLayer, ARefusingDriverGivesNullWithAMessage)
{
    driver->refuse = true;
    EXPECT_FALSE(open_graphics(640, 480, 0, 60, 0));
    EXPECT_FALSE(last_graphics_error().empty());
}

TEST_F(GraphicsLayer, SelectingADriverDetachesTheCurrentGraphics)
{
    ASSERT_TRUE(open_graphics(640, 480, 0, 60, 0));
    const Ref<FakeDriver> other = make_ref<FakeDriver>();
    select_display_driver(other, 6);
    EXPECT_EQ(driver->log.back(), "bind null");
    EXPECT_FALSE(current_graphics());
    EXPECT_EQ(get_default_graphics_flags(), 6);
    EXPECT_EQ(screen_width(), 0);
    // Binding the old graphics brings its driver back.
    bind_graphics(opened_graphics());
    EXPECT_TRUE(same_object(current_display_driver(), driver));
    EXPECT_EQ(screen_width(), 640);
}

TEST_F(GraphicsLayer, ModeListIsCachedUntilTheDriverChanges)
{
    EXPECT_EQ(list_graphics_modes().size(), 1u);
    list_graphics_modes();
    EXPECT_EQ(driver->mode_lists, 1);
    select_display_driver(make_ref<FakeDriver>(), GFX_BACK_BUFFER);
    select_display_driver(driver, GFX_BACK_BUFFER);
    list_graphics_modes();
    EXPECT_EQ(driver->mode_lists, 2);
}

TEST_F(GraphicsLayer, EmptyModeListIsAskedForAgain)
{
    driver->no_modes = true;
    EXPECT_TRUE(list_graphics_modes().empty());
    driver->no_modes = false;
    EXPECT_EQ(list_graphics_modes().size(), 1u);
    list_graphics_modes();
    EXPECT_EQ(driver->mode_lists, 2);
}

int flip_hook_calls = 0;
Ref<TObject> count_flip(int32_t, const Ref<TObject>& data, const Ref<TObject>&)
{
    ++flip_hook_calls;
    EXPECT_FALSE(data);
    return data;
}

TEST_F(GraphicsLayer, EveryFlipRunsTheFlipHook)
{
    ASSERT_GE(flip_hook_id(), 1);
    attach_hook(flip_hook_id(), &count_flip, nullptr, 0);
    flip_hook_calls = 0;
    flip_frame(0);
    flip_frame(-1);
    detach_hook(flip_hook_id(), &count_flip, nullptr);
    EXPECT_EQ(flip_hook_calls, 2);
}

TEST_F(GraphicsLayer, DisposingTheOpenedGraphicsForgetsIt)
{
    const Ref<TGraphics> g = open_graphics(640, 480, 0, 60, 0);
    dispose_graphics(g);
    EXPECT_FALSE(opened_graphics());
    EXPECT_FALSE(current_graphics());
    EXPECT_EQ(driver->log.back(), "close 1");
}

TEST_F(GraphicsLayer, ExitClosesTheOpenedGraphics)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const Ref<FakeGraphics> g = ref_cast<FakeGraphics>(open_graphics(640, 480, 0, 60, 0));
            if (g)
                g->report_close = true;
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "fake graphics closed");
}

} // namespace
