// Memory over a long run of the real game: main_loop with the real clock and
// a scripted flight (both wings, one wing, zoom, rest in turn), the resident
// set size sampled every second.
//
// Usage: game_soak [seconds]   (prints one line per 10 s, then a summary)
#include "../../tests/game/game_run.h"
#include "platform/clock.h"
#include "platform/event_injection.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
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

} // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 600;
    test::GameRun game{test::KeepClock{}};
    const uint64_t start = platform::monotonic_us();
    std::vector<long> rss; // one per second
    bool done = false;
    game.every_frame([&](int frame) {
        script(game, frame);
        const uint64_t elapsed = platform::monotonic_us() - start;
        if (elapsed >= (rss.size() + 1) * 1000000ull) {
            rss.push_back(rss_kb());
            if (rss.size() % 10 == 0)
                std::printf("%4zu s  frame %6d  rss %ld kB\n", rss.size(), frame, rss.back());
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
