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
#include "flight_state.h"
#include "input/keycodes.h"
#include "null_game_run.h"

#include <cinttypes>
#include <cstdio>

namespace vantrel {
namespace {

constexpr int32_t KEY_M = KEY_A + ('M' - 'A');
constexpr int32_t KEY_Z = KEY_A + ('Z' - 'A');

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
    test::StateTrace state;
    game.every_frame([&](int pass) { std::printf("%d%s\n", pass, state.take_pass().c_str()); });
    game.end_after(1000);
    game.run();
    std::printf("state %016" PRIx64 "\n", state.hash());
    return state.hash() == test::RELEASED_STATE_HASH ? 0 : 1;
}

} // namespace
} // namespace vantrel

int main() { return vantrel::run(); }
