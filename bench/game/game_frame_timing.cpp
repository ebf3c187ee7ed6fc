// Frame pacing and CPU per pass of the real game: main_loop with the real
// clock for 1800 passes, the flap keys pressed and released on a script.
//
// A clock source wrapped around the system clock marks each pass's phases
// on the main thread: the pass starts with its clock reading, the drawing
// calls end in the flip hook, then the pacing reads the clock and sleeps,
// and the buffer swap runs until the next pass reads the clock again. The
// OpenGL calls of the drawing layer are timed by the interposed entry
// points of the GL tests; llvmpipe rasterises in threads of its own, which
// the process's CPU time includes.
//
// Usage: game_frame_timing [passes] [--fullscreen | --window-scale N]
#include "../../tests/gfx/support/gl_spy.h"
#include "../../tests/game/game_run.h"
#include "game/command_line.h"
#include "game/game_main.h"
#include "gfx/graphics.h"
#include "platform/clock_source.h"
#include "platform/event_injection.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>
#include <vector>

using namespace vantrel;

namespace {

uint64_t thread_cpu_us()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000000 + static_cast<uint64_t>(ts.tv_nsec) / 1000;
}

uint64_t process_cpu_us()
{
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return static_cast<uint64_t>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) * 1000000 +
           static_cast<uint64_t>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec);
}

struct Pass {
    uint64_t start_us = 0, hook_us = 0;         // wall
    uint64_t start_cpu = 0, hook_cpu = 0;       // main thread CPU
    uint64_t gl_ns = 0;                         // inside the GL entry points
    uint64_t sleep_us = 0;                      // pacing sleep asked for, ms * 1000
    uint64_t wake_us = 0, wake_cpu = 0;         // after the sleep (or the pacing's reading)
};

// Forwards to the system clock and marks the phases of each pass.
class PhaseClock final : public platform::ClockSource {
public:
    explicit PhaseClock(platform::ClockSource& system) : system_(system) {}

    uint32_t now_ms() override
    {
        const uint32_t now = system_.now_ms();
        if (std::this_thread::get_id() == main_ && recording) {
            if (after_hook_ == 1) {
                // The pacing's reading; a late frame reads the clock once more.
                const bool late = static_cast<int32_t>(expected_next_ - now) <= 0;
                after_hook_ = late ? 3 : 2;
                passes.back().wake_us = platform::monotonic_us();
                passes.back().wake_cpu = thread_cpu_us();
            } else if (after_hook_ == 3) {
                after_hook_ = 2;
            } else if (after_hook_ == 2) {
                after_hook_ = 0; // the next pass begins
                begin_pass();
            }
        }
        return now;
    }
    void sleep_ms(int32_t ms) override
    {
        system_.sleep_ms(ms);
        if (std::this_thread::get_id() == main_ && recording && !passes.empty()) {
            passes.back().sleep_us += static_cast<uint64_t>(ms) * 1000;
            passes.back().wake_us = platform::monotonic_us();
            passes.back().wake_cpu = thread_cpu_us();
        }
    }
    void begin_pass()
    {
        passes.push_back({});
        passes.back().start_us = platform::monotonic_us();
        passes.back().start_cpu = thread_cpu_us();
        test::spy_reset_timing();
    }
    void hook()
    {
        if (passes.empty())
            return;
        passes.back().hook_us = platform::monotonic_us();
        passes.back().hook_cpu = thread_cpu_us();
        passes.back().gl_ns = test::spy_driver_ns();
        // Where the pacing will put the next frame: 16 or 17 ms on.
        const FramePacing fp = frame_pacing();
        expected_next_ = static_cast<uint32_t>(fp.next_frame_time + fp.ms_per_frame +
                                               (fp.accumulator + fp.remainder >= fp.hertz));
        after_hook_ = 1;
    }

    bool recording = false;
    std::vector<Pass> passes;

private:
    platform::ClockSource& system_;
    std::thread::id main_ = std::this_thread::get_id();
    int after_hook_ = 0;
    uint32_t expected_next_ = 0;
};

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(p * static_cast<double>(v.size() - 1))];
}

double mean(const std::vector<double>& v)
{
    double s = 0;
    for (double x : v)
        s += x;
    return s / static_cast<double>(v.size());
}

void report(const char* what, const std::vector<double>& v)
{
    std::printf("%-34s mean %7.3f  p50 %7.3f  p99 %7.3f  max %7.3f\n", what, mean(v),
                percentile(v, 0.5), percentile(v, 0.99), percentile(v, 1.0));
}

} // namespace

int main(int argc, char** argv)
{
    const int passes = argc > 1 ? std::atoi(argv[1]) : 1800;
    // The game's own options after the pass count choose the presentation.
    if (argc > 2) {
        const CommandLine line = parse_command_line(argc - 1, argv + 1);
        if (line.action != CommandAction::Run)
            return finish_command_line(line);
        set_launch_options(line.options);
    }
    PhaseClock clock(platform::clock_source());
    platform::set_clock_source(&clock);
    test::spy_set_timing(true);
    test::GameRun game{test::KeepClock{}};
    // Flap both wings for two seconds in every five, so the bird climbs and sinks.
    game.every_frame([&](int frame) {
        clock.hook();
        if (frame % 300 == 1) {
            game.press(platform::SCANCODE_Z);
            game.press(platform::SCANCODE_M);
        } else if (frame % 300 == 121) {
            game.release(platform::SCANCODE_Z);
            game.release(platform::SCANCODE_M);
        }
    });
    game.end_after(passes);
    clock.recording = true;
    clock.begin_pass(); // the first pass's reading came before recording could see it
    const uint64_t wall0 = platform::monotonic_us(), cpu0 = process_cpu_us();
    const uint64_t main0 = thread_cpu_us();
    game.run();
    const uint64_t wall = platform::monotonic_us() - wall0, cpu = process_cpu_us() - cpu0;
    const uint64_t main_cpu = thread_cpu_us() - main0;
    platform::set_clock_source(nullptr);

    std::vector<Pass>& p = clock.passes;
    p.pop_back(); // the loop's last reading opened no pass
    std::vector<double> interval, draw_cpu, gl_ms, swap_cpu, swap_wall;
    int missed = 0;
    for (size_t i = 1; i < p.size(); ++i) {
        const double iv = static_cast<double>(p[i].hook_us - p[i - 1].hook_us) / 1000;
        interval.push_back(iv);
        missed += iv > 17.5; // the schedule steps 16 or 17 ms
    }
    for (size_t i = 1; i + 1 < p.size(); ++i) { // pass 0 also loaded the music
        draw_cpu.push_back(static_cast<double>(p[i].hook_cpu - p[i].start_cpu) / 1000);
        gl_ms.push_back(static_cast<double>(p[i].gl_ns) / 1e6);
        swap_cpu.push_back(static_cast<double>(p[i + 1].start_cpu - p[i].wake_cpu) / 1000);
        swap_wall.push_back(static_cast<double>(p[i + 1].start_us - p[i].wake_us) / 1000);
    }
    std::printf("passes %zu, wall %.2f s, %.1f passes/s\n", p.size(), static_cast<double>(wall) / 1e6,
                static_cast<double>(p.size()) * 1e6 / static_cast<double>(wall));
    report("frame interval (ms)", interval);
    std::printf("%-34s %d of %zu (%.1f %%)\n", "intervals over 17.5 ms", missed, interval.size(),
                100.0 * missed / static_cast<double>(interval.size()));
    report("drawing calls, main CPU (ms)", draw_cpu);
    report("  wall inside GL entry points (ms)", gl_ms);
    report("swap + keys + flight, CPU (ms)", swap_cpu);
    report("swap + keys + flight, wall (ms)", swap_wall);
    const double n = static_cast<double>(p.size());
    std::printf("main thread CPU per pass %.3f ms; other threads (rasteriser, audio) %.3f ms\n",
                static_cast<double>(main_cpu) / 1000 / n,
                static_cast<double>(cpu - main_cpu) / 1000 / n);
    std::printf("process CPU %.2f s over %.2f s wall: %.0f %% of one core\n",
                static_cast<double>(cpu) / 1e6, static_cast<double>(wall) / 1e6,
                100.0 * static_cast<double>(cpu) / static_cast<double>(wall));
    return 0;
}
