// The scripted flight of game_determinism_test in a page, on the ES 2.0
// renderer in the page's WebGL canvas, under the manual clock: the page's
// script calls flight_start once, then flight_step for each pass, and gets
// each pass's state line and, for the compared passes (flight_frames.h),
// the frame read back from WebGL, through Module.onPass(pass, line, frame)
// during the pass. The host steps the clock 16, 17, 17 ms after each pass,
// as the ordinary loop's pacing does (game_host_test), so the state is the
// Linux build's pass for pass. tests/web/frames_test.js drives it.
#include "../audio/fake_output.h"
#include "audio/audio.h"
#include "flight_frames.h"
#include "flight_state.h"
#include "game_run.h"

#include <emscripten.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace vantrel {
namespace {

using test::GameRun;

std::optional<GameRun> game;
test::StateTrace trace;
int passes = 0;

// The frame is a view of the module's memory: the page copies what it keeps.
EM_JS(void, hand_pass_to_page, (int pass, const char* line, const uint8_t* frame, int pitch), {
    Module['onPass'](pass, UTF8ToString(line),
                     frame ? HEAPU8.subarray(frame, frame + pitch * 480) : null, pitch);
});

} // namespace
} // namespace vantrel

extern "C" {

// Starts the game with the flight scripted; 0 when it is already started.
EMSCRIPTEN_KEEPALIVE int flight_start(int every)
{
    using namespace vantrel;
    if (game)
        return 0;
    ::setenv("VANTREL_TEST_RENDERER", "gles2", 1);
    if (!audio_init_with(make_ref<test::FakeOutput>(), false))
        return 0;
    game.emplace(test::Hosted{});
    test::fly_scripted_flight(*game);
    game->end_after(test::FLIGHT_PASSES);
    game->read_back_frames(test::compared_pass(1, every));
    game->every_frame([every](int pass) {
        const std::string line = trace.take_pass();
        const Ref<TPixmap>& frame = game->last_frame();
        const bool compared = test::compared_pass(pass, every) && frame;
        hand_pass_to_page(pass, line.c_str(), compared ? frame->pixel_ptr(0, 0) : nullptr,
                          compared ? frame->pitch : 0);
        game->read_back_frames(test::compared_pass(pass + 1, every));
    });
    return 1;
}

// One pass; 0 once Escape has ended the flight.
EMSCRIPTEN_KEEPALIVE int flight_step()
{
    using namespace vantrel;
    static constexpr uint32_t STEPS[] = {16, 17, 17};
    if (!game || !game->step())
        return 0;
    game->clock.advance(STEPS[passes % 3]);
    ++passes;
    return 1;
}

} // extern "C"

int main() { return 0; }
