// The scripted flight of the determinism test, without a display: the game
// on the null backend under the manual clock, its state (every game
// variable, the generator and the music loops on the channel table) hashed
// pass by pass. The state does not depend on what draws the frames, so its
// hash is the determinism test's state hash, and a build for another
// machine (the browser's, run under node) must print the same trace.
//
// Prints one line per pass, then "state <hash>"; exits 1 when the hash is
// not the released game's.
#include "../audio/fake_output.h"
#include "audio/audio_system.h"
#include "game/random.h"
#include "game/state.h"
#include "input/keycodes.h"
#include "music_channels.h"
#include "null_game_run.h"

#include <cinttypes>
#include <cstdio>
#include <string>

namespace vantrel {
namespace {

constexpr uint64_t RELEASED_STATE = 0x6d29304def2a31f8ULL;
constexpr int32_t KEY_M = KEY_A + ('M' - 'A');
constexpr int32_t KEY_Z = KEY_A + ('Z' - 'A');

class Fnv1a {
public:
    template <class T>
    void add(const T& v)
    {
        const auto* p = reinterpret_cast<const uint8_t*>(&v);
        for (size_t i = 0; i < sizeof v; ++i)
            hash_ = (hash_ ^ p[i]) * 0x100000001b3ULL;
    }
    uint64_t value() const { return hash_; }

private:
    uint64_t hash_ = 0xcbf29ce484222325ULL;
};

void append(std::string& line, const char* format, auto value)
{
    char text[40];
    std::snprintf(text, sizeof text, format, value);
    line += text;
}

// In the determinism test's order and format.
std::string hash_state(Fnv1a& h)
{
    std::string line;
    const GameVars& v = game_vars;
    for (int32_t x : {v.last_ms, v.now_ms, v.music_elapsed_ms}) {
        h.add(x);
        append(line, " %d", x);
    }
    for (float x : {v.bird_x, v.bird_y, v.left_wing, v.left_count, v.right_wing, v.right_count,
                    v.target_y, v.target_left, v.target_right, v.left_count_t, v.right_count_t,
                    v.fatigue, v.wind, v.wind_target, v.island_x, v.island_y, v.island_scale}) {
        h.add(x);
        append(line, " %a", static_cast<double>(x));
    }
    const auto random_state = get_random_state();
    h.add(random_state);
    append(line, " r%d", random_state);
    for (const test::ChannelLoop& c : test::music_on_channels()) {
        h.add(c.channel);
        h.add(c.loop);
        append(line, " c%u", c.channel);
        append(line, ":%d", c.loop);
    }
    return line;
}

// Climbs, glides to each side, zooms in and out, rests: the determinism
// test's script, by virtual-key code.
void script_flight(test::NullGameRun& game)
{
    auto hold = [&](int from, int to, int32_t key) {
        game.at_frame(from, [&game, key] { game.press(key); });
        game.at_frame(to, [&game, key] { game.release(key); });
    };
    hold(20, 200, KEY_Z);
    hold(20, 200, KEY_M);
    hold(260, 320, KEY_LEFT);
    hold(380, 440, KEY_RIGHT);
    hold(450, 520, KEY_A);
    hold(600, 650, KEY_SPACE);
    hold(700, 900, KEY_Z);
    hold(705, 880, KEY_M);
}

int run()
{
    if (!audio_init_with(make_ref<test::FakeOutput>(), false)) {
        std::fprintf(stderr, "flight_trace: the audio device did not open\n");
        return 1;
    }
    test::NullGameRun game;
    script_flight(game);
    Fnv1a state;
    game.every_frame([&](int pass) {
        std::printf("%d%s\n", pass, hash_state(state).c_str());
    });
    game.end_after(1000);
    game.run();
    std::printf("state %016" PRIx64 "\n", state.value());
    return state.value() == RELEASED_STATE ? 0 : 1;
}

} // namespace
} // namespace vantrel

int main() { return vantrel::run(); }
