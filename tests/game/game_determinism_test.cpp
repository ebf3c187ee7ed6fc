// The game's behaviour as fingerprints: a scripted flight of 1000 passes
// under the manual clock, each pass's frame read back and hashed, and each
// pass's state (every game variable, the generator's state and the music
// loops started on the channel table) hashed in order. The expected values
// were taken from the released game; a change that moves one pixel, one
// random draw or one music choice changes them. When a change is meant to
// alter what the game shows or does, the new values are taken from this
// test's output and the reason goes in the commit message.
#include "game_run.h"

#include "../audio/fake_output.h"
#include "audio/audio.h"
#include "game/random.h"
#include "game/state.h"
#include "platform/event_injection.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>

namespace vantrel {
namespace {

using test::GameRun;

class Fnv1a {
public:
    void add(const void* data, size_t size)
    {
        const auto* p = static_cast<const uint8_t*>(data);
        for (size_t i = 0; i < size; ++i)
            hash_ = (hash_ ^ p[i]) * 0x100000001b3ULL;
    }
    template <class T>
    void add_value(const T& v) { add(&v, sizeof v); }
    uint64_t value() const { return hash_; }

private:
    uint64_t hash_ = 0xcbf29ce484222325ULL;
};

// Which loop each channel in use plays, in channel order (0: not a loop).
void add_music(Fnv1a& h)
{
    for (const test::ChannelLoop& c : test::music_on_channels()) {
        h.add_value(c.channel);
        h.add_value(c.loop);
    }
}

void add_state(Fnv1a& h)
{
    // Field by field: the record's padding is not part of the state.
    const GameVars& v = game_vars;
    for (int32_t x : {v.last_ms, v.now_ms, v.music_elapsed_ms})
        h.add_value(x);
    for (float x : {v.bird_x, v.bird_y, v.left_wing, v.left_count, v.right_wing, v.right_count,
                    v.target_y, v.target_left, v.target_right, v.left_count_t, v.right_count_t,
                    v.fatigue, v.wind, v.wind_target, v.island_x, v.island_y, v.island_scale})
        h.add_value(x);
    h.add_value(get_random_state());
}

// Climbs, glides to each side, zooms in and out, rests.
void script_flight(GameRun& game)
{
    auto hold = [&](int from, int to, int32_t scancode) {
        game.at_frame(from, [&game, scancode] { game.press(scancode); });
        game.at_frame(to, [&game, scancode] { game.release(scancode); });
    };
    hold(20, 200, platform::SCANCODE_Z);
    hold(20, 200, platform::SCANCODE_M);
    hold(260, 320, platform::SCANCODE_LEFT);
    hold(380, 440, platform::SCANCODE_RIGHT);
    hold(450, 520, platform::SCANCODE_A);
    hold(600, 650, platform::SCANCODE_SPACE);
    hold(700, 900, platform::SCANCODE_Z);
    hold(705, 880, platform::SCANCODE_M);
}

TEST(GameDeterminism, ScriptedFlightFramesAndStateMatchTheReleasedGame)
{
    ASSERT_EQ(audio_init_with(make_ref<test::FakeOutput>(), false), 0);
    GameRun game;
    script_flight(game);
    Fnv1a frames, state;
    game.every_frame([&](int) {
        const Ref<TPixmap>& f = game.last_frame();
        for (int32_t y = 0; y < f->height; ++y)
            frames.add(f->pixels + static_cast<ptrdiff_t>(y) * f->pitch, static_cast<size_t>(f->width) * 4);
        add_state(state);
        add_music(state);
    });
    game.end_after(1000);
    EXPECT_EQ(game.run(), 0);
    EXPECT_EQ(game.frame_count(), 1000);
    std::printf("frames %016" PRIx64 "  state %016" PRIx64 "\n", frames.value(), state.value());
    EXPECT_EQ(frames.value(), 0x13cc5c081010a123ULL);
    EXPECT_EQ(state.value(), 0x6d29304def2a31f8ULL);
}

} // namespace
} // namespace vantrel
