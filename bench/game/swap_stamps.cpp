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
// the process's CPU time per swap, the main thread's alone (llvmpipe
// rasterises on threads of its own), and the draw calls between swaps.
// VANTREL_SWAP_SKIP_MS leaves out the swaps of the first milliseconds after
// exec (the start-up), so runs of different lengths compare.
// VANTREL_SWAP_EXIT_AFTER=n ends the process right after its n-th swap, with
// the start-up line only (scripts/startup-floor times the first frame so).
//
// Draw calls are counted where either renderer makes them: glBegin and
// glDrawArrays/glDrawElements taken from libGL directly (the desktop
// renderer), and the same entry points handed out by SDL_GL_GetProcAddress
// (the ES 2.0 renderer looks every call up).
#include "interval_stats.h"

#include <dlfcn.h>
#include <unistd.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

int64_t thread_cpu_ns()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

int64_t env_number(const char* name)
{
    const char* s = std::getenv(name);
    return s ? std::strtoll(s, nullptr, 10) : 0;
}

struct Stamps {
    std::vector<int64_t> swaps;     // ns, CLOCK_MONOTONIC, when each swap returned
    std::vector<int64_t> durations; // ns spent inside each swap
    std::vector<int64_t> draws;     // draw calls of the frame each swap showed
    std::vector<int64_t> main_cpu;  // main thread's CPU time (ns) at each swap
    int64_t cpu_at_fourth_us = 0;
    int64_t draws_since_swap = 0;

    Stamps()
    {
        swaps.reserve(MAX_SWAPS);
        durations.reserve(MAX_SWAPS);
        draws.reserve(MAX_SWAPS);
        main_cpu.reserve(MAX_SWAPS);
    }
    ~Stamps() { report(); }

    void report() const;
};

Stamps& stamps()
{
    static Stamps s;
    return s;
}

void report_first_swaps(const std::vector<int64_t>& swaps)
{
    const int64_t exec_ns = env_number("VANTREL_EXEC_NS");
    if (exec_ns == 0)
        return;
    std::fprintf(stderr, "swap after exec (ms):");
    for (size_t i = 0; i < swaps.size() && i < 4; ++i)
        std::fprintf(stderr, " #%zu %.1f", i + 1, static_cast<double>(swaps[i] - exec_ns) / 1e6);
    std::fprintf(stderr, "\n");
}

void Stamps::report() const
{
    const int64_t exec_ns = env_number("VANTREL_EXEC_NS");
    const int64_t skip_ns = env_number("VANTREL_SWAP_SKIP_MS") * 1000000;
    report_first_swaps(swaps);
    std::vector<double> intervals, inside;
    size_t first = 0;
    int64_t frame_draws = 0, most_draws = 0;
    for (size_t i = 4; i < swaps.size(); ++i)
        if (exec_ns == 0 || swaps[i - 1] - exec_ns >= skip_ns) {
            first = first ? first : i;
            intervals.push_back(static_cast<double>(swaps[i] - swaps[i - 1]) / 1e6);
            inside.push_back(static_cast<double>(durations[i]) / 1e6);
            frame_draws += draws[i];
            most_draws = std::max(most_draws, draws[i]);
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
    const double frames = static_cast<double>(intervals.size());
    std::fprintf(stderr, "main thread CPU per pass: %.3f ms; draw calls per frame: mean %.1f, max %lld\n",
                 static_cast<double>(main_cpu.back() - main_cpu[first - 1]) / 1e6 / frames,
                 static_cast<double>(frame_draws) / frames, static_cast<long long>(most_draws));
}

template <typename Fn>
Fn real_gl(const char* name)
{
    return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}

using BeginFn = void (*)(unsigned);
using DrawArraysFn = void (*)(unsigned, int, int);
using DrawElementsFn = void (*)(unsigned, int, unsigned, const void*);
using ProcAddressFn = void* (*)(const char*);

DrawArraysFn looked_up_draw_arrays = nullptr;
DrawElementsFn looked_up_draw_elements = nullptr;

void counted_draw_arrays(unsigned mode, int first, int count)
{
    ++stamps().draws_since_swap;
    looked_up_draw_arrays(mode, first, count);
}

void counted_draw_elements(unsigned mode, int count, unsigned type, const void* indices)
{
    ++stamps().draws_since_swap;
    looked_up_draw_elements(mode, count, type, indices);
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
        s.draws.push_back(s.draws_since_swap);
        s.main_cpu.push_back(thread_cpu_ns());
    }
    s.draws_since_swap = 0;
    if (s.swaps.size() == 4)
        s.cpu_at_fourth_us = cpu_us();
    static const int64_t exit_after = env_number("VANTREL_SWAP_EXIT_AFTER");
    if (exit_after > 0 && static_cast<int64_t>(s.swaps.size()) == exit_after) {
        report_first_swaps(s.swaps);
        std::fprintf(stderr, "CPU by swap #%lld: %.1f ms, main thread %.1f ms\n",
                     static_cast<long long>(exit_after), static_cast<double>(cpu_us()) / 1000,
                     static_cast<double>(thread_cpu_ns()) / 1e6);
        std::fprintf(stderr, "main thread CPU by swap (ms):");
        for (size_t i = 0; i < s.main_cpu.size(); ++i)
            std::fprintf(stderr, " #%zu %.1f", i + 1, static_cast<double>(s.main_cpu[i]) / 1e6);
        std::fprintf(stderr, "\n");
        std::fflush(stderr);
        _exit(0);
    }
}

extern "C" void glBegin(unsigned mode)
{
    static const BeginFn real = real_gl<BeginFn>("glBegin");
    ++stamps().draws_since_swap;
    real(mode);
}

extern "C" void glDrawArrays(unsigned mode, int first, int count)
{
    static const DrawArraysFn real = real_gl<DrawArraysFn>("glDrawArrays");
    ++stamps().draws_since_swap;
    real(mode, first, count);
}

extern "C" void glDrawElements(unsigned mode, int count, unsigned type, const void* indices)
{
    static const DrawElementsFn real = real_gl<DrawElementsFn>("glDrawElements");
    ++stamps().draws_since_swap;
    real(mode, count, type, indices);
}

extern "C" void* SDL_GL_GetProcAddress(const char* name)
{
    static const ProcAddressFn real = real_gl<ProcAddressFn>("SDL_GL_GetProcAddress");
    void* found = real(name);
    if (found && std::strcmp(name, "glDrawArrays") == 0) {
        looked_up_draw_arrays = reinterpret_cast<DrawArraysFn>(found);
        return reinterpret_cast<void*>(&counted_draw_arrays);
    }
    if (found && std::strcmp(name, "glDrawElements") == 0) {
        looked_up_draw_elements = reinterpret_cast<DrawElementsFn>(found);
        return reinterpret_cast<void*>(&counted_draw_elements);
    }
    return found;
}
