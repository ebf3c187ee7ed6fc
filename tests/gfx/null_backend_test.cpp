// The null backend itself: its windows have the opened size and count the
// frames shown, its pump delivers injected messages to the polled input, and
// its audio output consumes the ring at the format's byte rate as the clock
// advances.
#include "audio/audio_system.h"
#include "gfx/graphics.h"
#include "gfx/null/null_graphics_driver.h"
#include "input/keycodes.h"
#include "input/polled_input.h"
#include "platform/backend.h"
#include "platform/manual_clock.h"
#include "platform/null/null_audio_output.h"
#include "platform/null/null_platform.h"
#include "support/null_fixture.h"

namespace vantrel::test {
namespace {

constexpr int32_t KEY_LETTER_Z = KEY_A + 25;

class NullBackend : public NullGfxTest {};

uint32_t window_id()
{
    auto g = null_graphics_driver()->current();
    return g && g->window() ? g->window()->id() : 0;
}

TEST_F(NullBackend, WindowHasTheOpenedSizeAndCountsPresents)
{
    auto g = null_graphics_driver()->current();
    ASSERT_TRUE(g);
    ASSERT_TRUE(g->window());
    EXPECT_EQ(g->window()->width, 640);
    EXPECT_EQ(g->window()->height, 480);
    int32_t w = 0, h = 0;
    EXPECT_TRUE(platform::window_client_size(window_id(), w, h));
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    const int32_t before = g->window()->presents;
    flip_frame(0);
    flip_frame(1);
    EXPECT_EQ(g->window()->presents, before + 2);
    EXPECT_EQ(draw_log().count(NullOp::Flip), 2);
}

TEST_F(NullBackend, InjectedKeyReachesThePolledInput)
{
    platform::OSMessage down;
    down.kind = platform::MessageKind::KeyDown;
    down.window = window_id();
    down.key = KEY_LETTER_Z;
    platform::null_message_pump().push(down);
    EXPECT_EQ(take_key_hits(KEY_LETTER_Z), 1);
    EXPECT_EQ(key_held(KEY_LETTER_Z), 1);
    platform::OSMessage up = down;
    up.kind = platform::MessageKind::KeyUp;
    platform::null_message_pump().push(up);
    EXPECT_EQ(key_held(KEY_LETTER_Z), 0);
    // A message for a window that is not there goes nowhere.
    down.window = 9999;
    platform::null_message_pump().push(down);
    EXPECT_EQ(take_key_hits(KEY_LETTER_Z), 0);
}

TEST_F(NullBackend, CloseRequestIsReportedAndTheWindowStays)
{
    platform::OSMessage close;
    close.kind = platform::MessageKind::Close;
    close.window = window_id();
    platform::null_message_pump().push(close);
    EXPECT_NE(app_terminate_requested(), 0);
    EXPECT_TRUE(null_graphics_driver()->current()->window());
}

TEST(NullBackendGraphics, ClosingTheGraphicsClosesItsWindow)
{
    start_null_engine();
    ASSERT_TRUE(open_graphics(320, 200, 0, 60, 0));
    const uint32_t id = window_id();
    int32_t w = 0, h = 0;
    ASSERT_TRUE(platform::window_client_size(id, w, h));
    EXPECT_EQ(w, 320);
    close_opened_graphics();
    EXPECT_FALSE(platform::window_client_size(id, w, h));
    EXPECT_FALSE(open_graphics(0, 480, 0, 60, 0));
    EXPECT_FALSE(last_graphics_error().empty());
}

TEST(NullAudioOutput, ConsumesTheRingAtTheFormatsRateAsTheClockAdvances)
{
    platform::ManualClock clock;
    platform::ScopedClock scoped(clock);
    platform::NullAudioOutput out;
    out.virtual_rate = true;
    uint8_t ring[4096] = {};
    ASSERT_TRUE(out.open(44100, 2, 16, ring, sizeof ring));
    EXPECT_EQ(out.byte_rate(), 176400u);
    uint32_t at = 1;
    ASSERT_TRUE(out.position(at));
    EXPECT_EQ(at, 0u); // not playing before the first submit
    ASSERT_TRUE(out.submit());
    clock.advance(10);
    ASSERT_TRUE(out.position(at));
    EXPECT_EQ(at, 1764u);
    clock.advance(990);
    ASSERT_TRUE(out.position(at));
    EXPECT_EQ(at, 176400u);
    out.reset();
    clock.advance(100);
    ASSERT_TRUE(out.position(at));
    EXPECT_EQ(at, 0u);
}

TEST(NullAudioOutput, IsTheNullPlatformsDefaultOutputAndDrivesTheDevice)
{
    platform::null_platform_init();
    const Ref<platform::AudioOutput> made = platform::create_audio_output();
    auto out = ref_cast<platform::NullAudioOutput>(made);
    ASSERT_TRUE(out);
    EXPECT_TRUE(out->virtual_rate);
    platform::ManualClock clock;
    platform::ScopedClock scoped(clock);
    ASSERT_TRUE(audio_init_with(made, false));
    EXPECT_EQ(out->rate, 44100);
    EXPECT_EQ(out->channels, 2);
    EXPECT_EQ(out->bits, 16);
    EXPECT_GE(out->submits, 1);
    audio_shutdown();
}

} // namespace
} // namespace vantrel::test
