// Buffer-swap timestamps of an unmodified program, by interposition:
//
//   LD_PRELOAD=libswap_stamps.so VANTREL_EXEC_NS=<ns> vantrel
//
// where <ns> is CLOCK_MONOTONIC just before exec (scripts/swap-pacing).
//
// Every SDL_GL_SwapWindow is timed when the real swap returns, which is as
// close to "the frame is shown" as the program can see. At exit the library
// prints, on standard error, when the first swaps came after exec (the
// first two are open_graphics' clears, the third is the first game frame),
// the distribution of the intervals between swaps from the fourth swap on,
// and the process's CPU time per swap. VANTREL_SWAP_SKIP_MS leaves out the
// swaps of the first milliseconds after exec (the start-up), so runs of
// different lengths compare.
#include "interval_stats.h"

#include <dlfcn.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

using vantrel::bench::percentile;
using vantrel::bench::print_intervals;
using SwapFn = void (*)(void*);

constexpr size_t MAX_SWAPS = 1 << 20;

int64_t now_ns()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

int64_t cpu_us()
{
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return (static_cast<int64_t>(ru.ru_utime.tv_sec) + ru.ru_stime.tv_sec) * 1000000 +
           ru.ru_utime.tv_usec + ru.ru_stime.tv_usec;
}

int64_t env_number(const char* name)
{
    const char* s = std::getenv(name);
    return s ? std::strtoll(s, nullptr, 10) : 0;
}

struct Stamps {
    std::vector<int64_t> swaps;     // ns, CLOCK_MONOTONIC, when each swap returned
    std::vector<int64_t> durations; // ns spent inside each swap
    int64_t cpu_at_fourth_us = 0;

    Stamps()
    {
        swaps.reserve(MAX_SWAPS);
        durations.reserve(MAX_SWAPS);
    }
    ~Stamps() { report(); }

    void report() const;
};

Stamps& stamps()
{
    static Stamps s;
    return s;
}

void Stamps::report() const
{
    const int64_t exec_ns = env_number("VANTREL_EXEC_NS");
    const int64_t skip_ns = env_number("VANTREL_SWAP_SKIP_MS") * 1000000;
    if (exec_ns != 0) {
        std::fprintf(stderr, "swap after exec (ms):");
        for (size_t i = 0; i < swaps.size() && i < 4; ++i)
            std::fprintf(stderr, " #%zu %.1f", i + 1, static_cast<double>(swaps[i] - exec_ns) / 1e6);
        std::fprintf(stderr, "\n");
    }
    std::vector<double> intervals, inside;
    for (size_t i = 4; i < swaps.size(); ++i)
        if (exec_ns == 0 || swaps[i - 1] - exec_ns >= skip_ns) {
            intervals.push_back(static_cast<double>(swaps[i] - swaps[i - 1]) / 1e6);
            inside.push_back(static_cast<double>(durations[i]) / 1e6);
        }
    if (intervals.size() < 2)
        return;
    print_intervals("swap intervals", intervals);
    std::fprintf(stderr, "time inside the swap: p50 %.3f ms, p90 %.3f, p99 %.3f, max %.3f\n",
                 percentile(inside, 0.5), percentile(inside, 0.9), percentile(inside, 0.99),
                 percentile(inside, 1.0));
    const int64_t cpu = cpu_us() - cpu_at_fourth_us;
    const double wall_s = static_cast<double>(swaps.back() - swaps[3]) / 1e9;
    std::fprintf(stderr, "process CPU after the first frame: %.2f ms per swap, %.0f %% of one core\n",
                 static_cast<double>(cpu) / 1000 / static_cast<double>(swaps.size() - 4),
                 static_cast<double>(cpu) / 1e4 / wall_s);
}

} // namespace

extern "C" void SDL_GL_SwapWindow(void* window)
{
    static const SwapFn real = reinterpret_cast<SwapFn>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
    const int64_t before = now_ns();
    real(window);
    const int64_t after = now_ns();
    Stamps& s = stamps();
    if (s.swaps.size() < MAX_SWAPS) {
        s.swaps.push_back(after);
        s.durations.push_back(after - before);
    }
    if (s.swaps.size() == 4)
        s.cpu_at_fourth_us = cpu_us();
}
