// A machine whose OpenGL gives no ES 2.0 context (Mesa told to offer ES 1.1
// at most): the ES renderer's graphics fail with a one-line reason, and the
// first renderer, in a process of its own, opens its window as ever.
#include "gfx/gl/gl_backend.h"
#include "gfx/gles2/gles2_backend.h"
#include "gfx/graphics.h"
#include "gfx/graphics2d.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace vantrel;

namespace {

// Exit status 0 for no graphics (the reason on stderr), 3 for a window.
[[noreturn]] void open_and_report(void (*backend_init)())
{
    backend_init();
    graphics_init();
    graphics2d_init();
    const Ref<TGraphics> g = open_graphics(640, 480, 0, 60, 0);
    std::fprintf(stderr, "reason: %s|\n", last_graphics_error().to_bytes().c_str());
    std::fflush(stderr);
    std::_Exit(g ? 3 : 0);
}

class Gles2Unavailable : public ::testing::Test {
protected:
    void SetUp() override
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        ASSERT_STREQ(std::getenv("MESA_GLES_VERSION_OVERRIDE"), "1.1");
    }
};

TEST_F(Gles2Unavailable, EsGraphicsFailWithTheirReasonInOneLine)
{
    EXPECT_EXIT(open_and_report(&gles2_backend_init), ::testing::ExitedWithCode(0),
                "reason: Cannot create an OpenGL ES 2.0 context[^\n]*\\|\n");
}

TEST_F(Gles2Unavailable, TheFirstRendererIsUnaffected)
{
    EXPECT_EXIT(open_and_report(&gl_backend_init), ::testing::ExitedWithCode(3), "");
}

} // namespace
