// GfxTest: real graphics for rendering tests.
#include "gfx_fixture.h"
#include "initial_state.h"

#include "assets/pixmap_loader.h"
#include "assets/registry.h"
#include "assets/stream.h"
#include "gfx/gl/gl_backend.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/graphics2d.h"
#include "gfx/image.h"
#include "input/events.h"
#include "input/system_driver.h"

#include <GL/gl.h>

#include <vector>

namespace vantrel::test {
namespace {

constexpr int W = 640, H = 480;

} // namespace

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
    gl_backend_init();
    graphics2d_init();
}

RGB pixel(int x, int y)
{
    uint8_t p[4] = {};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, H - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
}

namespace {

std::vector<uint8_t> whole_screen()
{
    std::vector<uint8_t> buf(static_cast<size_t>(W) * H * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, W, H, GL_RGBA, GL_UNSIGNED_BYTE, buf.data());
    return buf;
}

RGB at(const std::vector<uint8_t>& buf, int x, int y)
{
    const uint8_t* p = &buf[(static_cast<size_t>(H - 1 - y) * W + x) * 4];
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
