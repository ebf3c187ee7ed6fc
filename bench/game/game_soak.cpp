// Memory over a long run of the real game: main_loop with the real clock and
// a scripted flight (both wings, one wing, zoom, rest in turn), the resident
// set size sampled every second.
//
// Usage: game_soak [seconds] [fast]
//   Prints one line per 10 s (of game time with `fast`, which runs under the
//   manual clock as fast as the frames draw), then a summary. Each line
//   also gives the heap in use and the scenery's list lengths, to tell the
//   game's own memory from the drivers'. Every minute it gives the bytes
//   held by C++ allocations apart from the C libraries', and which mappings
//   (/proc/self/smaps) grew or shrank: up to minute 5 since the tenth
//   second, from then on since minute 5. With libmalloc_by_caller.so
//   preloaded it also prints the C heap's live bytes by owning library.
#include "../../tests/game/game_run.h"
#include "live_bytes.h"
#include "smaps_by_mapping.h"
#include "game/scenery.h"
#include "platform/clock_source.h"
#include "platform/event_injection.h"

#include <dlfcn.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace vantrel;

namespace {

long rss_kb()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Twelve seconds of scripted play, repeated.
void script(test::GameRun& game, int frame)
{
    using namespace platform;
    switch (frame % 720) {
    case 1: game.press(SCANCODE_Z); game.press(SCANCODE_M); break;
    case 150: game.release(SCANCODE_Z); game.release(SCANCODE_M); break;
    case 200: game.press(SCANCODE_LEFT); break;
    case 300: game.release(SCANCODE_LEFT); game.press(SCANCODE_RIGHT); break;
    case 400: game.release(SCANCODE_RIGHT); game.press(SCANCODE_UP); break;
    case 500: game.release(SCANCODE_UP); game.press(SCANCODE_SPACE); break;
    case 600: game.release(SCANCODE_SPACE); break;
    default: break;
    }
}

// Mappings whose resident size moved by at least 4 kB since `base`.
void print_mapping_deltas(const bench::SmapsTotals& base, const bench::SmapsTotals& now)
{
    bench::SmapsTotals delta = now;
    for (const auto& [label, kb] : base)
        delta[label] -= kb;
    for (const auto& [label, kb] : delta)
        if (kb >= 4 || kb <= -4)
            std::printf("        %-28s %+6ld kB (now %ld kB)\n", label.c_str(), kb,
                        now.count(label) ? now.at(label) : 0L);
}

// With libmalloc_by_caller.so preloaded: the C heap's live bytes by owner.
void report_heap_owners()
{
    using Report = void (*)();
    if (auto report = reinterpret_cast<Report>(dlsym(RTLD_DEFAULT, "malloc_by_caller_report")))
        report();
}

} // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 600;
    const bool fast = argc > 2 && std::string(argv[2]) == "fast";
    auto run = fast ? std::make_unique<test::GameRun>() : std::make_unique<test::GameRun>(test::KeepClock{});
    test::GameRun& game = *run;
    game.read_back_frames(false);
    // Game time: the manual clock's in fast runs, the monotonic clock's otherwise.
    const auto now_us = [&]() -> uint64_t {
        return fast ? static_cast<uint64_t>(game.clock.now_ms()) * 1000 : platform::monotonic_us();
    };
    const uint64_t start = now_us();
    std::vector<long> rss; // one per second
    bool done = false;
    bench::SmapsTotals second10, minute5;
    game.every_frame([&](int frame) {
        script(game, frame);
        const uint64_t elapsed = now_us() - start;
        if (elapsed >= (rss.size() + 1) * 1000000ull) {
            rss.push_back(rss_kb());
            if (rss.size() % 10 == 0)
                std::printf("%4zu s  frame %6d  rss %ld kB  heap %zu kB  specks %zu  clouds %zu\n",
                            rss.size(), frame, rss.back(), mallinfo2().uordblks / 1024,
                            specks->count(), clouds->count());
            if (rss.size() == 10)
                second10 = bench::smaps_totals();
            if (rss.size() % 60 == 0) {
                const size_t minute = rss.size() / 60;
                // The manual clock logs every sleep for the tests that check
                // the pacing; over a long run that log is the harness's own
                // growth (a 1 MB array at 2^17 frames), not the game's.
                std::vector<int32_t>().swap(game.clock.sleeps);
                std::printf("minute %zu: rss %ld kB, heap in use %zu kB (C++ %lld kB), arena %zu kB, "
                            "mmapped %zu kB\n",
                            minute, rss.back(), mallinfo2().uordblks / 1024,
                            bench::cxx_live_bytes() / 1024, mallinfo2().arena / 1024,
                            mallinfo2().hblkhd / 1024);
                report_heap_owners();
                if (minute <= 5)
                    print_mapping_deltas(second10, bench::smaps_totals());
                if (minute == 5)
                    minute5 = bench::smaps_totals();
                else if (minute > 5)
                    print_mapping_deltas(minute5, bench::smaps_totals());
            }
            std::fflush(stdout);
        }
        if (!done && elapsed >= static_cast<uint64_t>(seconds) * 1000000ull) {
            done = true;
            game.tap(platform::SCANCODE_ESCAPE);
        }
    });
    game.run();
    if (rss.size() >= 60) {
        const long at60 = rss[59];
        long peak = 0;
        for (size_t i = 59; i < rss.size(); ++i)
            peak = std::max(peak, rss[i]);
        std::printf("rss at 60 s %ld kB; at end (%zu s) %ld kB; growth after 60 s %+ld kB; "
                    "peak after 60 s %ld kB; frames %d\n",
                    at60, rss.size(), rss.back(), rss.back() - at60, peak, game.frame_count());
    }
    return 0;
}
