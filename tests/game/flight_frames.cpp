// The scripted flight of game_determinism_test on the ES 2.0 renderer, its
// frames written out for the browser build's frame comparison:
//   game_flight_frames <folder> [every]
// writes <folder>/states.txt (the pass-by-pass state, flight_state.h),
// <folder>/frames.bin (the compared passes' records, flight_frames.h) and
// <folder>/frames.json (which passes, and the cover kinds' names). Exits 1
// when the state is not the released game's or a file cannot be written.
#include "../audio/fake_output.h"
#include "../gfx/support/recording_renderer.h"
#include "audio/audio.h"
#include "flight_frames.h"
#include "flight_state.h"
#include "frame_cover.h"
#include "game_run.h"
#include "gfx/graphics2d.h"
#include "gfx/render_driver.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <string>
#include <vector>

namespace vantrel {
namespace {

using test::GameRun;

void write_rgb(std::ofstream& out, const Ref<TPixmap>& frame)
{
    std::vector<char> row(static_cast<size_t>(frame->width) * 3);
    for (int32_t y = 0; y < frame->height; ++y) {
        const uint8_t* p = frame->pixel_ptr(0, y);
        for (int32_t x = 0; x < frame->width; ++x)
            for (int c = 0; c < 3; ++c)
                row[static_cast<size_t>(x) * 3 + c] = static_cast<char>(p[x * 4 + c]);
        out.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
}

template <class Bytes>
void write_bytes(std::ofstream& out, const Bytes& bytes)
{
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

int run(const std::string& folder, int every)
{
    // The ES 2.0 renderer unless the caller names another.
    ::setenv("VANTREL_TEST_RENDERER", "gles2", 0);
    if (!audio_init_with(make_ref<test::FakeOutput>(), false)) {
        std::fprintf(stderr, "game_flight_frames: the audio device did not open\n");
        return 1;
    }
    std::ofstream states(folder + "/states.txt"), frames(folder + "/frames.bin", std::ios::binary);
    if (!states || !frames) {
        std::fprintf(stderr, "game_flight_frames: cannot write into %s\n", folder.c_str());
        return 1;
    }
    test::run_after_backend_init(&test::record_registered_renderer);
    test::StateTrace trace;
    test::FrameCover cover(640, 480);
    std::vector<int> compared;
    std::string renderer;
    {
        GameRun game;
        renderer = current_renderer()->to_string().to_bytes();
        test::fly_scripted_flight(game);
        game.end_after(test::FLIGHT_PASSES);
        game.read_back_frames(test::compared_pass(1, every));
        game.every_frame([&](int pass) {
            states << pass << trace.take_pass() << '\n';
            NullDrawLog& calls = test::recorded_calls();
            cover.set_covering(test::compared_pass(pass, every));
            for (const NullCall& call : calls.calls())
                cover.add(call);
            calls.clear();
            if (test::compared_pass(pass, every)) {
                write_rgb(frames, game.last_frame());
                write_bytes(frames, cover.top());
                write_bytes(frames, cover.mask());
                compared.push_back(pass);
            }
            game.read_back_frames(test::compared_pass(pass + 1, every));
        });
        game.run();
    }
    test::run_after_backend_init(nullptr);

    std::ofstream meta(folder + "/frames.json");
    meta << "{\"every\": " << every << ", \"renderer\": \"" << renderer << "\", \"passes\": [";
    for (size_t i = 0; i < compared.size(); ++i)
        meta << (i ? ", " : "") << compared[i];
    meta << "],\n \"kinds\": [";
    for (size_t i = 0; i < test::COVER_KIND_NAMES.size(); ++i)
        meta << (i ? ", " : "") << '"' << test::COVER_KIND_NAMES[i] << '"';
    meta << "]}\n";
    states.close();
    frames.close();
    meta.close();
    if (!states || !frames || !meta) {
        std::fprintf(stderr, "game_flight_frames: writing into %s failed\n", folder.c_str());
        return 1;
    }
    std::printf("%zu of %d frames written on %s; state %016llx\n", compared.size(),
                test::FLIGHT_PASSES, renderer.c_str(),
                static_cast<unsigned long long>(trace.hash()));
    return trace.hash() == test::RELEASED_STATE_HASH ? 0 : 1;
}

} // namespace
} // namespace vantrel

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: game_flight_frames <folder> [every]\n");
        return 2;
    }
    const int every = argc == 3 ? std::atoi(argv[2]) : 1;
    if (every < 1) {
        std::fprintf(stderr, "game_flight_frames: every must be a whole number from 1 up\n");
        return 2;
    }
    try {
        return vantrel::run(argv[1], every);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "game_flight_frames: %s\n", e.what());
        return 1;
    }
}
