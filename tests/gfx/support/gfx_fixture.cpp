// GfxTest: real graphics for rendering tests.
#include "gfx_fixture.h"
#include "initial_state.h"

#include "assets/pixmap.h"
#include "assets/pixmap_loader.h"
#include "assets/registry.h"
#include "assets/stream.h"
#include "gfx/gl/gl_backend.h"
#include "gfx/gles2/gles2_backend.h"
#include "gfx/render_driver.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/graphics2d.h"
#include "gfx/image.h"
#include "input/events.h"
#include "input/system_driver.h"

#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

namespace vantrel::test {
namespace {

constexpr int W = 640, H = 480;

} // namespace

std::string_view renderer_under_test()
{
    const char* name = std::getenv("VANTREL_TEST_RENDERER");
    return name && *name ? name : "gl";
}

void start_engine()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    streams_init();
    pixmap_loaders_init();
    events_init();
    system_driver_init();
    if (renderer_under_test() == "gles2")
        gles2_backend_init();
    else
        gl_backend_init();
    graphics2d_init();
}

// Through the renderer, which draws what it has batched first.
RGB pixel(int x, int y)
{
    const Ref<TPixmap> p = current_renderer()->read_back_pixmap(x, y, 1, 1);
    const uint8_t* c = p->pixel_ptr(0, 0);
    return {c[0], c[1], c[2]};
}

namespace {

Ref<TPixmap> whole_screen() { return current_renderer()->read_back_pixmap(0, 0, W, H); }

RGB at(const Ref<TPixmap>& buf, int x, int y)
{
    const uint8_t* p = buf->pixel_ptr(x, y);
    return {p[0], p[1], p[2]};
}

} // namespace

int count_pixels(int x0, int y0, int x1, int y1, RGB c)
{
    const auto buf = whole_screen();
    int n = 0;
    for (int y = std::max(y0, 0); y < std::min(y1, H); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, W); ++x)
            n += at(buf, x, y) == c;
    return n;
}

std::array<int, 4> bounds_not(RGB bg)
{
    const auto buf = whole_screen();
    std::array<int, 4> b = {W, H, -1, -1};
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (!(at(buf, x, y) == bg)) {
                b[0] = std::min(b[0], x);
                b[1] = std::min(b[1], y);
                b[2] = std::max(b[2], x + 1);
                b[3] = std::max(b[3], y + 1);
            }
    if (b[2] < 0)
        return {-1, -1, -1, -1};
    return b;
}

void GfxTest::SetUpTestSuite()
{
    start_engine();
    if (!opened_graphics()) {
        ASSERT_TRUE(open_graphics(W, H, 0, 60, 0)) << last_graphics_error().to_bytes();
    }
}

void GfxTest::TearDownTestSuite() { close_opened_graphics(); }

void GfxTest::SetUp()
{
    ASSERT_TRUE(current_graphics2d()) << "no graphics open";
    reset_state();
}

void GfxTest::reset_state() { reset_drawing_state(W, H); }

} // namespace vantrel::test
