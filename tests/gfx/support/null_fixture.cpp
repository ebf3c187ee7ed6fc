// NullGfxTest: the null backend for drawing tests.
#include "null_fixture.h"

#include "initial_state.h"

#include "assets/pixmap_loader.h"
#include "assets/stream.h"
#include "gfx/graphics.h"
#include "gfx/graphics2d.h"
#include "gfx/null/null_backend.h"
#include "input/events.h"
#include "input/system_driver.h"

namespace vantrel::test {
namespace {

constexpr int W = 640, H = 480;

} // namespace

void start_null_engine()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    null_backend_init();
    streams_init();
    pixmap_loaders_init();
    events_init();
    system_driver_init();
    graphics2d_init();
}

NullDrawLog& draw_log() { return null_render_driver()->log(); }

std::vector<NullCall> shapes_of(const std::function<void()>& draw)
{
    draw_log().clear();
    draw();
    return draw_log().shapes();
}

void expect_vertices(const NullCall& shape, const std::vector<NullVertex>& want)
{
    ASSERT_EQ(shape.vertices.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_FLOAT_EQ(shape.vertices[i].x, want[i].x) << "vertex " << i;
        EXPECT_FLOAT_EQ(shape.vertices[i].y, want[i].y) << "vertex " << i;
    }
}

void NullGfxTest::SetUpTestSuite()
{
    start_null_engine();
    if (!opened_graphics()) {
        ASSERT_TRUE(open_graphics(W, H, 0, 60, 0)) << last_graphics_error().to_bytes();
    }
}

void NullGfxTest::TearDownTestSuite() { close_opened_graphics(); }

void NullGfxTest::SetUp()
{
    ASSERT_TRUE(current_graphics2d()) << "no graphics open";
    reset_drawing_state(W, H);
    draw_log().clear();
}

} // namespace vantrel::test
