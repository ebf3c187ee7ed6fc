// The scripted flight of game_determinism_test on both renderers, with a
// recording decorator in front of each (tests/gfx/support/recording_renderer.h):
// the calls the 2-D layer and the game make of the renderer, in the null
// renderer's terms, must be the same on both, call for call, from the
// start-up to the last pass. This process flies it on the ES 2.0 renderer;
// a child (the same program) flies it on the first renderer and writes each
// pass's calls, one fingerprint per call, to a file.
#include "game_run.h"

#include "../audio/fake_output.h"
#include "../gfx/support/recording_renderer.h"
#include "audio/audio.h"
#include "gfx/graphics2d.h"
#include "gfx/render_driver.h"
#include "platform/event_injection.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace vantrel {
namespace {

using test::GameRun;

constexpr int PASSES = 1000;

uint64_t fingerprint(const NullCall& call)
{
    uint64_t h = 0xcbf29ce484222325ULL;
    auto add = [&h](const void* data, size_t size) {
        const auto* p = static_cast<const uint8_t*>(data);
        for (size_t i = 0; i < size; ++i)
            h = (h ^ p[i]) * 0x100000001b3ULL;
    };
    add(&call.op, sizeof call.op);
    add(&call.primitive, sizeof call.primitive);
    for (const NullVertex& v : call.vertices) {
        const float xyuv[4] = {v.x, v.y, v.u, v.v};
        add(xyuv, sizeof xyuv);
    }
    add(call.ints, sizeof call.ints);
    add(call.floats, sizeof call.floats);
    add(call.colour, sizeof call.colour);
    add(&call.texture, sizeof call.texture);
    return h;
}

// Each pass's calls (the first pass's with the start-up's before them).
using Passes = std::vector<std::vector<uint64_t>>;

// The start-up's share of the first pass's calls: binding the window, and
// open_graphics' two cleared frames.
struct StartUp {
    int binds = 0, flips = 0;
};

Passes fly(const char* renderer, StartUp* start_up = nullptr)
{
    ::setenv("VANTREL_TEST_RENDERER", renderer, 1);
    test::run_after_backend_init(&test::record_registered_renderer);
    Passes passes;
    {
        GameRun game;
        game.read_back_frames(false); // the calls are the subject, not the pixels
        test::fly_scripted_flight(game);
        game.every_frame([&](int) {
            if (passes.empty()) {
                // The recorder answers for the renderer behind it, but for
                // the offscreen images it does not pass on.
                EXPECT_EQ(current_renderer()->id(), renderer);
                EXPECT_FALSE(current_renderer()->capabilities() & RENDERER_DRAWS_INTO_IMAGES);
            }
            if (start_up && passes.empty()) {
                start_up->binds = test::recorded_calls().count(NullOp::Bind);
                start_up->flips = test::recorded_calls().count(NullOp::Flip);
            }
            std::vector<uint64_t>& pass = passes.emplace_back();
            for (const NullCall& call : test::recorded_calls().calls())
                pass.push_back(fingerprint(call));
            test::recorded_calls().clear();
        });
        game.end_after(PASSES);
        EXPECT_EQ(game.run(), 0);
    }
    test::run_after_backend_init(nullptr);
    return passes;
}

void write_passes(const char* path, const Passes& passes)
{
    std::ofstream out(path, std::ios::binary);
    for (const std::vector<uint64_t>& pass : passes) {
        const uint64_t count = pass.size();
        out.write(reinterpret_cast<const char*>(&count), sizeof count);
        out.write(reinterpret_cast<const char*>(pass.data()),
                  static_cast<std::streamsize>(count * sizeof(uint64_t)));
    }
}

Passes read_passes(const std::string& path)
{
    Passes passes;
    std::ifstream in(path, std::ios::binary);
    uint64_t count = 0;
    while (in.read(reinterpret_cast<char*>(&count), sizeof count) && count < (1u << 24)) {
        std::vector<uint64_t>& pass = passes.emplace_back(count);
        in.read(reinterpret_cast<char*>(pass.data()),
                static_cast<std::streamsize>(count * sizeof(uint64_t)));
    }
    return passes;
}

// "pass P, call C" of the first difference, empty when there is none.
std::string first_difference(const Passes& ours, const Passes& theirs)
{
    for (size_t p = 0; p < ours.size() && p < theirs.size(); ++p)
        for (size_t c = 0; c < ours[p].size() || c < theirs[p].size(); ++c)
            if (c >= ours[p].size() || c >= theirs[p].size() || ours[p][c] != theirs[p][c])
                return "pass " + std::to_string(p + 1) + ", call " + std::to_string(c + 1) +
                       " of " + std::to_string(ours[p].size()) + " (ES 2.0) and " +
                       std::to_string(theirs[p].size()) + " (first renderer)";
    return ours.size() == theirs.size() ? "" : "the runs have different lengths";
}

TEST(RendererCalls, ScriptedFlightMakesTheSameRendererCallsOnBothRenderers)
{
    ASSERT_TRUE(audio_init_with(make_ref<test::FakeOutput>(), false));
    if (const char* out = std::getenv("VANTREL_CALLS_OUT")) {
        write_passes(out, fly("gl"));
        return;
    }
    char dir[] = "/tmp/vantrel-calls-XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    const std::string file = std::string(dir) + "/gl-calls";
    char self[4096] = {};
    ASSERT_GT(::readlink("/proc/self/exe", self, sizeof self - 1), 0);
    const std::string command = "VANTREL_CALLS_OUT=" + file + " '" + self +
                                "' --gtest_filter=RendererCalls.* > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << "the first renderer's run failed";
    const Passes theirs = read_passes(file);
    ::unlink(file.c_str());
    ::rmdir(dir);

    StartUp start_up;
    const Passes ours = fly("gles2", &start_up);
    ASSERT_EQ(ours.size(), static_cast<size_t>(PASSES));
    ASSERT_EQ(theirs.size(), static_cast<size_t>(PASSES));
    size_t calls = 0;
    for (const std::vector<uint64_t>& pass : ours)
        calls += pass.size();
    std::printf("renderer calls: %zu in %d passes (%zu before the first pass's flip)\n", calls,
                PASSES, ours.front().size());
    EXPECT_EQ(start_up.binds, 1);
    EXPECT_EQ(start_up.flips, 2);
    EXPECT_EQ(first_difference(ours, theirs), "");
}

} // namespace
} // namespace vantrel
