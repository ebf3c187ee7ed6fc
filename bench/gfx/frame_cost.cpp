// Frame cost of a frame like the game's: clear, a 512 x 512 image at half
// alpha, 30 points, 6 spark images scaled 5 to 10 times with additive
// blending, 2 ovals, 8 lines, 14 textured quads and a rectangle.
//
// Reports per frame: OpenGL calls issued (by name), wall time of the drawing
// calls split into time inside the OpenGL driver and the rest (our code),
// the thread's CPU time, and the whole frame with the swap. Run under Xvfb:
//   SDL_VIDEODRIVER=x11 GALLIUM_DRIVER=llvmpipe xvfb-run -a ./gfx_frame_cost [frames]
#include "assets/pixmap.h"
#include "assets/pixmap_loader.h"
#include "assets/stream.h"
#include "gfx/gl/gl_backend.h"
#include "gfx/draw.h"
#include "gfx/gl/gl_render_driver.h"
#include "gfx/gl/gl_texture_frame.h"
#include "gfx/graphics2d.h"
#include "gfx/image.h"
#include "input/events.h"
#include "input/system_driver.h"
#include "support/gl_spy.h"

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>

using namespace vantrel;
using Clock = std::chrono::steady_clock;

namespace {

double ms_since(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

double thread_cpu_ms()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

double process_cpu_ms()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// A picture like the game's: rgb(x, y) for every pixel, RGB24.
template <class F>
Ref<TPixmap> picture(int size, F rgb)
{
    auto p = new_pixmap(size, size, FORMAT_RGB24, 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            p->put_pixel(x, y, rgb(x, y));
    return p;
}

struct Pictures {
    Ref<TImage> island, spark, wing;
};

Pictures make_pictures()
{
    Pictures p;
    set_mask_colour(0, 0, 0);
    p.spark = load_image(Ref<TObject>(picture(256, [](int x, int y) {
        const double d = std::hypot(x - 127.5, y - 127.5) / 128.0;
        const int v = std::max(1, static_cast<int>(195 * std::max(0.0, 1.0 - d)));
        return make_argb(255, v, v, v);
    })), 3);
    set_auto_centre_handle(1);
    set_mask_colour(255, 0, 255);
    p.wing = load_image(Ref<TObject>(picture(256, [](int x, int y) {
        return y > 240 && x % 32 < 8 ? 0xFFFF00FFu : make_argb(255, 220, 220, 200 + x % 40);
    })), 3);
    set_mask_colour(255, 255, 255);
    p.island = load_image(Ref<TObject>(picture(512, [](int x, int y) {
        const bool land = std::hypot(x - 256.0, y - 256.0) < 180 + 30 * std::sin(x * 0.05);
        return land ? make_argb(255, 40, 120 + y % 60, 40) : 0xFFFFFFFFu;
    })), 3);
    set_image_handle(p.island, 0, 0);
    return p;
}

uint64_t facility_calls = 0; // calls made by the emulated textured-polygon facility

// One wing quad as the game's textured-polygon facility sends it: the
// texture through the renderer's switches, four vertices sent twice.
void wing_quad(const Ref<TImage>& wing, float x, float y)
{
    const uint64_t before = test::spy_forwarded_calls();
    auto frame = ref_cast<TGLTextureFrame>(wing->frame(0));
    gl_render_driver()->enable_texture(frame->texture);
    glShadeModel(GL_SMOOTH);
    glBegin(GL_POLYGON);
    const float v[4][4] = {{x, y, 0, 0}, {x, y + 20, 0, 1}, {x + 20, y + 26, 1, 1}, {x + 20, y, 1, 0}};
    const GLubyte colour[4] = {128, 128, 128, 128};
    for (int pass = 0; pass < 2; ++pass)
        for (const auto& p : v) {
            glColor4ubv(colour);
            glNormal3f(0, 0, 1);
            glTexCoord2f(p[2], p[3]);
            glVertex3f(p[0], p[1], 0);
        }
    glEnd();
    facility_calls += test::spy_forwarded_calls() - before;
}

void draw_game_like_frame(const Pictures& pics, int frame)
{
    clear_screen();
    set_blend_mode(BLEND_ALPHA);
    set_colour(255, 255, 255);
    set_alpha(0.5f);
    draw_image(pics.island, 64, static_cast<float>(frame % 100 - 50), 0);
    set_alpha(1.0f);
    set_blend_mode(0);
    for (int i = 0; i < 30; ++i)
        plot_point(static_cast<float>(i * 21 % 640), static_cast<float>((i * 37 + frame) % 480));
    set_blend_mode(BLEND_LIGHT);
    set_alpha(0.3f);
    for (int i = 0; i < 6; ++i) {
        const float s = 5.0f + static_cast<float>(i);
        set_scale(s, s);
        draw_image(pics.spark, static_cast<float>(100 * i), static_cast<float>(80 * i % 480), 0);
    }
    set_scale(1, 1);
    set_alpha(1.0f);
    set_blend_mode(BLEND_ALPHA);
    set_colour(230, 230, 230);
    draw_oval(316, 300, 8, 14);
    for (int i = 0; i < 7; ++i)
        wing_quad(pics.wing, 250.0f + 20.0f * static_cast<float>(i), 310);
    for (int i = 0; i < 7; ++i)
        wing_quad(pics.wing, 250.0f + 20.0f * static_cast<float>(i), 340);
    set_colour(64, 64, 64);
    draw_oval(318, 298, 3, 3);
    set_line_width(3);
    set_colour(255, 255, 255);
    for (int i = 0; i < 8; ++i)
        draw_line(320, 304, 300.0f + 6.0f * static_cast<float>(i), 350, 1);
    set_colour(128, 128, 255);
    draw_rect(320, 0, 40, 20);
}

struct Totals {
    double draw_wall = 0, driver = 0, cpu = 0, frame_wall = 0;
    uint64_t calls = 0;
};

} // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    streams_init();
    pixmap_loaders_init();
    events_init();
    system_driver_init();
    gl_backend_init();
    graphics2d_init();
    if (!open_graphics(640, 480, 0, 60, 0)) {
        std::fprintf(stderr, "no graphics: %s\n", last_graphics_error().to_bytes().c_str());
        return 1;
    }
    const Pictures pics = make_pictures();
    for (int i = 0; i < 5; ++i) { // textures made, caches warm
        draw_game_like_frame(pics, i);
        flip_frame(0);
    }

    facility_calls = 0;
    Totals t;
    const double process0 = process_cpu_ms();
    std::map<std::string, uint64_t> by_name;
    for (int f = 0; f < frames; ++f) {
        const bool record = f == 0;
        if (record)
            test::spy_start();
        test::spy_reset_timing();
        test::spy_set_timing(true);
        const auto t0 = Clock::now();
        const double c0 = thread_cpu_ms();
        draw_game_like_frame(pics, f);
        t.cpu += thread_cpu_ms() - c0;
        t.draw_wall += ms_since(t0);
        test::spy_set_timing(false);
        t.driver += static_cast<double>(test::spy_driver_ns()) / 1e6;
        t.calls += test::spy_forwarded_calls();
        if (record) {
            test::spy_stop();
            for (const auto& c : test::spy_calls())
                ++by_name[c.name];
        }
        glFinish();
        flip_frame(0);
        t.frame_wall += ms_since(t0);
    }

    const double process_cpu = process_cpu_ms() - process0;
    const double n = frames;
    std::printf("frames: %d (640 x 480, llvmpipe under Xvfb when run as documented)\n", frames);
    std::printf("OpenGL calls per frame: %.1f, of which %.1f by the textured-polygon facility\n",
                static_cast<double>(t.calls) / n, static_cast<double>(facility_calls) / n);
    for (const auto& [name, count] : by_name)
        std::printf("  %-26s %4llu\n", name.c_str(), static_cast<unsigned long long>(count));
    std::printf("drawing calls, wall time per frame:     %8.3f ms\n", t.draw_wall / n);
    std::printf("  inside the OpenGL driver:             %8.3f ms\n", t.driver / n);
    std::printf("  our code (the rest):                  %8.3f ms\n", (t.draw_wall - t.driver) / n);
    std::printf("drawing calls, thread CPU time / frame: %8.3f ms\n", t.cpu / n);
    std::printf("whole frame with glFinish and swap:     %8.3f ms\n", t.frame_wall / n);
    std::printf("process CPU time / frame (all threads): %8.3f ms\n", process_cpu / n);
    close_opened_graphics();
    return 0;
}
