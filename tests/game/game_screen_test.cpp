// The game's window and full-screen on a 1280 x 960 screen: --window-scale 2
// opens a 1280 x 960 client area at 32,32, and F11 and Alt+Enter switch a
// flight to full-screen and back without changing it: each pass's state
// (the game variables, the generator, the music loops started) and each
// frame read back are those of the same flight without the switches.
#include "game_run.h"

#include "../audio/fake_output.h"
#include "audio/audio.h"
#include "audio/channel_table.h"
#include "audio/mixer/sound.h"
#include "game/game_main.h"
#include "game/random.h"
#include "game/screen.h"
#include "game/screen_mode.h"
#include "game/state.h"
#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/graphics2d.h"
#include "gfx/graphics.h"
#include "platform/event_injection.h"
#include "platform/message_pump.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string_view>
#include <vector>

namespace vantrel {
namespace {

using test::GameRun;

constexpr int32_t SCANCODE_F11 = platform::SCANCODE_F1 + 10;

int channels_in_use()
{
    int used = 0;
    for (uint32_t i = 1; i < CHANNEL_SLOTS; ++i)
        used += audio_channels()->in_use[i] ? 1 : 0;
    return used;
}

// What one pass leaves behind, seen in its frame's flip.
struct PassState {
    GameVars vars;
    int32_t random_state = 0;
    int channels = 0;
    size_t frame_hash = 0;
    bool operator==(const PassState& o) const
    {
        return std::memcmp(&vars, &o.vars, sizeof vars) == 0 && random_state == o.random_state &&
               channels == o.channels && frame_hash == o.frame_hash;
    }
};

struct WindowState {
    bool fullscreen = false;
    int32_t x = 0, y = 0, width = 0, height = 0;
};

// The display driver of the game's graphics, whichever renderer draws them.
Ref<GLGraphicsDriver> game_driver()
{
    const Ref<TGraphics2D> g2d = current_graphics2d();
    const auto context = g2d ? ref_cast<TGLGraphicsContext>(g2d->backend) : nullptr;
    return context ? ref_cast<GLGraphicsDriver>(context->driver()) : nullptr;
}

WindowState game_window()
{
    WindowState s;
    const auto window = game_driver()->current_record()->window;
    s.fullscreen = window->fullscreen();
    window->client_origin(s.x, s.y);
    window->client_size(s.width, s.height);
    return s;
}

// A flight of 90 passes with both wings at work and a music cycle at pass
// 1 and one after 16 s; every pass reads a clock 20 ms on from the last.
std::vector<PassState> fly(const std::function<void(GameRun&)>& script)
{
    std::vector<PassState> trace;
    // The channels of an earlier run stay taken: count this run's only.
    const int channels_before = channels_in_use();
    GameRun game;
    const uint32_t start = static_cast<uint32_t>(game.clock.now_ms());
    game.every_frame([&](int frame) {
        const auto* bytes = reinterpret_cast<const char*>(game.last_frame()->pixel_ptr(0, 0));
        trace.push_back({game_vars, get_random_state(), channels_in_use() - channels_before,
                         std::hash<std::string_view>{}(std::string_view(bytes, SCREEN_WIDTH * SCREEN_HEIGHT * 4))});
        game.clock.set(start + 20u * static_cast<uint32_t>(frame) + (frame >= 60 ? 16000u : 0u));
    });
    game.at_frame(5, [&] { game.press(platform::SCANCODE_Z); });
    game.at_frame(20, [&] { game.press(platform::SCANCODE_M); });
    game.at_frame(45, [&] { game.release(platform::SCANCODE_Z); });
    game.at_frame(70, [&] { game.release(platform::SCANCODE_M); });
    script(game);
    game.end_after(90);
    game.run();
    return trace;
}

class GameScreen : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // Before the game's own audio_init: the started loops stay on their channels.
        ASSERT_TRUE(audio_init_with(make_ref<test::FakeOutput>(), false));
    }
    void TearDown() override { set_launch_options({}); }
};

TEST_F(GameScreen, SwitchingToFullScreenAndBackLeavesTheFlightAsItWas)
{
    const std::vector<PassState> plain = fly([](GameRun&) {});
    std::vector<WindowState> seen;
    const auto look = [&] { seen.push_back(game_window()); };
    const std::vector<PassState> switched = fly([&](GameRun& game) {
        game.at_frame(10, [&] { game.tap(SCANCODE_F11); });
        game.at_frame(11, look);
        game.at_frame(30, [&] { game.tap(SCANCODE_F11); });
        game.at_frame(31, look);
        game.at_frame(50, [&] {
            // The window system reports Alt held from the Alt key's own press on.
            const uint32_t id = game.window_id();
            platform::inject_key(id, platform::SCANCODE_LALT, true, false, platform::MOD_ALT);
            platform::inject_key(id, platform::SCANCODE_RETURN, true, false, platform::MOD_ALT);
            platform::inject_key(id, platform::SCANCODE_RETURN, false, false, platform::MOD_ALT);
            platform::inject_key(id, platform::SCANCODE_LALT, false, false, 0);
        });
        game.at_frame(51, look);
        game.at_frame(75, [&] { game.tap(SCANCODE_F11); });
        game.at_frame(76, look);
    });
    ASSERT_EQ(plain.size(), 90u);
    ASSERT_EQ(switched.size(), 90u);
    for (size_t i = 0; i < plain.size(); ++i)
        EXPECT_TRUE(plain[i] == switched[i])
            << "pass " << i + 1 << ": bird_y " << plain[i].vars.bird_y << " / "
            << switched[i].vars.bird_y << ", random " << plain[i].random_state << " / "
            << switched[i].random_state << ", channels " << plain[i].channels << " / "
            << switched[i].channels << ", frame " << plain[i].frame_hash << " / "
            << switched[i].frame_hash;
    // The flight did fly, and heard two cycles.
    EXPECT_LT(plain.back().vars.bird_y, 470);
    EXPECT_GT(plain.back().channels, plain[58].channels);

    ASSERT_EQ(seen.size(), 4u);
    for (int i : {0, 2}) {
        EXPECT_TRUE(seen[i].fullscreen);
        EXPECT_EQ(seen[i].x, 0);
        EXPECT_EQ(seen[i].y, 0);
        EXPECT_EQ(seen[i].width, 1280);
        EXPECT_EQ(seen[i].height, 960);
    }
    for (int i : {1, 3}) {
        EXPECT_FALSE(seen[i].fullscreen);
        EXPECT_EQ(seen[i].x, 32);
        EXPECT_EQ(seen[i].y, 32);
        EXPECT_EQ(seen[i].width, SCREEN_WIDTH);
        EXPECT_EQ(seen[i].height, SCREEN_HEIGHT);
    }
}

TEST_F(GameScreen, WindowScaleTwoOpensTwelveEightyByNineSixtyAtThirtyTwo)
{
    set_launch_options({.fullscreen = false, .window_scale = 2});
    GameRun game;
    const WindowState w = game_window();
    EXPECT_FALSE(w.fullscreen);
    EXPECT_EQ(w.x, 32);
    EXPECT_EQ(w.y, 32);
    EXPECT_EQ(w.width, 1280);
    EXPECT_EQ(w.height, 960);
    EXPECT_EQ(screen_width(), SCREEN_WIDTH); // the game still draws 640 x 480
    // F11 goes full-screen; back again, the window is twice the size again.
    game.at_frame(2, [&] { game.tap(SCANCODE_F11); });
    game.at_frame(3, [&] { EXPECT_TRUE(game_fullscreen()); });
    game.at_frame(4, [&] { game.tap(SCANCODE_F11); });
    game.end_after(5);
    game.run();
    EXPECT_FALSE(game_fullscreen());
    EXPECT_EQ(game_window().width, 1280);
}

TEST_F(GameScreen, FullscreenOptionStartsFullScreen)
{
    set_launch_options({.fullscreen = true, .window_scale = 1});
    GameRun game;
    const WindowState w = game_window();
    EXPECT_TRUE(w.fullscreen);
    EXPECT_EQ(w.width, 1280);
    EXPECT_EQ(w.height, 960);
    EXPECT_TRUE(game_driver()->presenting_scaled());
}

} // namespace
} // namespace vantrel
