// Cost of scaled presentation: a light 640 x 480 frame (clear and a few
// rectangles) shown in the plain window, in a 2x window and full-screen at
// the desktop's resolution. Reports per frame the wall time of drawing and
// flip_frame(0) together, of the flip alone, and the process CPU time
// (llvmpipe's threads included); then the time from asking for full-screen
// to the end of the first full-screen frame's flip. For comparison, a plain
// window as large as the screen shows what the larger buffer swap alone
// costs. Run on a 1920 x 1080 screen:
//   SDL_VIDEODRIVER=x11 GALLIUM_DRIVER=llvmpipe
//   xvfb-run -a -s "-screen 0 1920x1080x24" ./gfx_present_cost [frames]
#include "gfx/gl/gl_backend.h"
#include "gfx/draw.h"
#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/graphics.h"
#include "gfx/graphics2d.h"
#include "input/events.h"
#include "input/system_driver.h"
#include "platform/clock_source.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace vantrel;

namespace {

uint64_t process_cpu_us()
{
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return static_cast<uint64_t>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) * 1000000 +
           static_cast<uint64_t>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec);
}

void draw_light_frame(int i)
{
    set_clear_colour(0, 128, 255);
    clear_screen();
    set_colour(255, 255, 255);
    for (int k = 0; k < 8; ++k)
        draw_rect(static_cast<float>((i * 3 + k * 70) % 600), static_cast<float>(k * 55), 40, 40);
}

double mean(const std::vector<double>& v)
{
    double s = 0;
    for (double x : v)
        s += x;
    return v.empty() ? 0 : s / static_cast<double>(v.size());
}

double p99(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[static_cast<size_t>(0.99 * static_cast<double>(v.size() - 1))];
}

void measure(const char* name, const TPresentation& p, int frames)
{
    set_presentation(p);
    for (int i = 0; i < 10; ++i) { // settle: the window's new size reaches the context
        draw_light_frame(i);
        flip_frame(0);
        pump_messages();
    }
    std::vector<double> frame_ms, flip_ms;
    const uint64_t cpu0 = process_cpu_us();
    for (int i = 0; i < frames; ++i) {
        const uint64_t t0 = platform::monotonic_us();
        draw_light_frame(i);
        const uint64_t t1 = platform::monotonic_us();
        flip_frame(0);
        const uint64_t t2 = platform::monotonic_us();
        frame_ms.push_back(static_cast<double>(t2 - t0) / 1000);
        flip_ms.push_back(static_cast<double>(t2 - t1) / 1000);
        pump_messages();
    }
    const double cpu = static_cast<double>(process_cpu_us() - cpu0) / 1000 / frames;
    std::printf("%-28s frame %6.3f ms (p99 %6.3f)  flip %6.3f ms (p99 %6.3f)  CPU %6.3f ms\n", name,
                mean(frame_ms), p99(frame_ms), mean(flip_ms), p99(flip_ms), cpu);
}

} // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
    events_init();
    system_driver_init();
    gl_backend_init();
    graphics2d_init();
    set_app_title(u"Vantrel presentation cost");
    if (!open_graphics(640, 480, 0, 60, 0)) {
        std::fprintf(stderr, "no graphics: %s\n", last_graphics_error().to_bytes().c_str());
        return 1;
    }
    measure("plain 640 x 480 window", {}, frames);
    measure("2x window (1280 x 960)", {2, false}, frames);
    int32_t w = 0, h = 0;
    platform::desktop_size(w, h);
    char name[64];
    std::snprintf(name, sizeof name, "full-screen %d x %d", w, h);
    measure(name, {1, true}, frames);

    std::vector<double> switch_ms, request_ms;
    for (int i = 0; i < 10; ++i) {
        set_presentation({});
        for (int k = 0; k < 5; ++k) {
            draw_light_frame(k);
            flip_frame(0);
            pump_messages();
        }
        const uint64_t t0 = platform::monotonic_us();
        set_presentation({1, true});
        request_ms.push_back(static_cast<double>(platform::monotonic_us() - t0) / 1000);
        draw_light_frame(i);
        flip_frame(0);
        switch_ms.push_back(static_cast<double>(platform::monotonic_us() - t0) / 1000);
    }
    std::printf("switch to full-screen until the first frame is flipped: mean %.3f ms, max %.3f ms\n",
                mean(switch_ms), *std::max_element(switch_ms.begin(), switch_ms.end()));
    std::printf("  of which the window's change (set_presentation): mean %.3f ms\n", mean(request_ms));

    // The swap of a buffer that large, without any scaling.
    set_presentation({});
    if (open_graphics(w, h, 0, 60, 0)) {
        std::snprintf(name, sizeof name, "plain %d x %d window", w, h);
        measure(name, {}, frames);
    }
    close_opened_graphics();
    return 0;
}
