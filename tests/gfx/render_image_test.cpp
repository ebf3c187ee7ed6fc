// Offscreen images on real OpenGL, once per renderer (the ES 2.0 run has
// VANTREL_TEST_RENDERER=gles2): what is drawn into an image reads back
// exactly, is drawn into the window the right way up and pixel for pixel
// as drawn there, the window's state comes back whatever the image changed,
// sizes at the edges, a new window, and the failures.
#include "assets/pixmap.h"
#include "core/error.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/gl/gl_render_frame.h"
#include "gfx/gles2/gles2_calls.h"
#include "gfx/gles2/gles2_render_frame.h"
#include "gfx/graphics2d.h"
#include "gfx/image.h"
#include "gfx/render_driver.h"
#include "gfx/render_image.h"
#include "support/gfx_fixture.h"

#include <GL/gl.h>

#include <string>

namespace vantrel::test {
namespace {

const RGB WHITE{255, 255, 255};
const RGB BLACK{0, 0, 0};

struct RGBA {
    int r, g, b, a;
    friend bool operator==(const RGBA&, const RGBA&) = default;
    friend std::ostream& operator<<(std::ostream& os, const RGBA& c)
    {
        return os << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
    }
};

RGBA at(const Ref<TPixmap>& p, int x, int y)
{
    const uint8_t* c = p->pixel_ptr(x, y);
    return {c[0], c[1], c[2], c[3]};
}

int count(const Ref<TPixmap>& p, RGBA c)
{
    int n = 0;
    for (int y = 0; y < p->height; ++y)
        for (int x = 0; x < p->width; ++x)
            n += at(p, x, y) == c;
    return n;
}

Ref<TPixmap> solid(int w, int h, uint32_t argb)
{
    auto p = new_pixmap(w, h, FORMAT_RGBA32, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p->put_pixel(x, y, argb);
    return p;
}

std::string error_text() { return last_graphics_error().to_bytes(); }

class RenderImage : public GfxTest {
protected:
    void SetUp() override
    {
        GfxTest::SetUp();
        set_blend_mode(BLEND_SOLID);
    }
    void TearDown() override { set_render_target(nullptr); }

    static Ref<TImage> made(int w, int h, int flags = 0)
    {
        Ref<TImage> image = create_render_image(w, h, flags);
        EXPECT_TRUE(image) << error_text();
        return image;
    }
};

TEST_F(RenderImage, StartsTransparentAndReadsBackWhatWasDrawnExactly)
{
    const Ref<TImage> image = made(100, 60); // not a power of two either way
    ASSERT_TRUE(image);
    EXPECT_TRUE(is_render_image(image));
    EXPECT_EQ(image_width(image), 100);
    EXPECT_EQ(image_height(image), 60);
    EXPECT_EQ(count(grab_render_image(image), RGBA{0, 0, 0, 0}), 100 * 60);

    const Ref<TImage> green = TImage::load(Ref<TObject>(solid(4, 4, 0xFF00FF00)), 0, 0, 0, 0);
    set_render_target(image);
    EXPECT_TRUE(same_object(render_target(), image));
    EXPECT_EQ(screen_width(), 100);
    EXPECT_EQ(screen_height(), 60);
    set_clear_colour(10, 20, 30);
    clear_screen();
    draw_rect(10, 5, 20, 10);
    set_colour(255, 0, 0);
    plot_point(0, 0);
    plot_point(99, 59);
    set_colour(255, 255, 255);
    draw_image(green, 50, 40, 0);
    const Ref<TPixmap> inside = current_renderer()->read_back_pixmap(0, 0, 100, 60);
    set_render_target(nullptr);
    EXPECT_EQ(screen_width(), 640);

    const Ref<TPixmap> p = grab_render_image(image);
    ASSERT_EQ(p->width, 100);
    ASSERT_EQ(p->height, 60);
    EXPECT_EQ(p->format, FORMAT_RGBA32);
    EXPECT_EQ(at(p, 0, 0), (RGBA{255, 0, 0, 255})); // the top row comes first
    EXPECT_EQ(at(p, 99, 59), (RGBA{255, 0, 0, 255}));
    EXPECT_EQ(count(p, RGBA{255, 255, 255, 255}), 20 * 10);
    EXPECT_EQ(at(p, 10, 5), (RGBA{255, 255, 255, 255}));
    EXPECT_EQ(at(p, 29, 14), (RGBA{255, 255, 255, 255}));
    EXPECT_EQ(count(p, RGBA{0, 255, 0, 255}), 16);
    EXPECT_EQ(at(p, 50, 40), (RGBA{0, 255, 0, 255}));
    EXPECT_EQ(count(p, RGBA{10, 20, 30, 255}), 100 * 60 - 200 - 16 - 2);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(at(inside, x, y), at(p, x, y)) << x << ", " << y;
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{-1, -1, -1, -1})) << "the window was drawn on";
}

// The same drawing, in the window and in an image of the window's size,
// gives the same pixels: turned shapes, ovals, lines and text alike. Steep
// lines are drawn upwards here: drawn downwards, llvmpipe lights their first
// pixel in a window's buffer and not in a texture's.
TEST_F(RenderImage, DrawsPixelForPixelAsTheWindowDoes)
{
    const auto scene = [] {
        set_clear_colour(0, 0, 64);
        clear_screen();
        set_blend_mode(BLEND_ALPHA);
        set_colour(250, 120, 30);
        set_alpha(0.75f);
        draw_oval(40, 30, 200, 90);
        set_transform(30, 2, 1);
        draw_rect(300, 200, 50, 20);
        set_transform(0, 1, 1);
        set_line_width(3);
        draw_line(20, 400, 600, 330, 1);
        draw_line(520, 300, 500, 20, 1);
        set_line_width(1);
        draw_line(30, 450, 610, 350, 1);
        draw_line(600, 300, 590, 40, 0);
        plot_point(3, 3);
        set_alpha(1);
        draw_text(u"Offscreen", 400, 420);
    };
    scene();
    const Ref<TPixmap> window = current_renderer()->read_back_pixmap(0, 0, 640, 480);
    reset_state();
    set_blend_mode(BLEND_SOLID);
    const Ref<TImage> image = made(640, 480);
    ASSERT_TRUE(image);
    set_render_target(image);
    scene();
    set_render_target(nullptr);
    const Ref<TPixmap> offscreen = grab_render_image(image);
    int differ = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const RGBA a = at(window, x, y), b = at(offscreen, x, y);
            if ((a.r != b.r || a.g != b.g || a.b != b.b) && ++differ <= 5)
                ADD_FAILURE() << "at " << x << ", " << y << ": " << a << " and " << b;
        }
    EXPECT_EQ(differ, 0);
}

TEST_F(RenderImage, DrawnIntoTheWindowTheRightWayUpAndOnlyWhereDrawn)
{
    const Ref<TImage> image = made(30, 20);
    ASSERT_TRUE(image);
    set_render_target(image);
    set_colour(255, 0, 0);
    draw_rect(0, 0, 30, 5); // the top rows red
    set_colour(0, 0, 255);
    draw_rect(0, 15, 10, 5); // the bottom left corner blue
    set_render_target(nullptr);

    set_clear_colour(0, 100, 0);
    clear_screen();
    set_blend_mode(BLEND_ALPHA);
    draw_image(image, 200, 100, 0);
    EXPECT_EQ(count_pixels(200, 100, 230, 105, RGB{255, 0, 0}), 150);
    EXPECT_EQ(count_pixels(200, 115, 210, 120, RGB{0, 0, 255}), 50);
    EXPECT_EQ(count_pixels(0, 0, 640, 480, RGB{0, 100, 0}), 640 * 480 - 200);

    // Turned half round about its centre, the red rows come last.
    clear_screen();
    centre_image_handle(image);
    set_rotation(180);
    draw_image(image, 300, 300, 0);
    set_rotation(0);
    EXPECT_EQ(count_pixels(285, 305, 315, 310, RGB{255, 0, 0}), 150);
    EXPECT_EQ(count_pixels(305, 290, 315, 295, RGB{0, 0, 255}), 50);
}

TEST_F(RenderImage, TheWindowStateComesBackWhateverTheImagesChanged)
{
    const Ref<TImage> a = made(64, 64), b = made(32, 16);
    ASSERT_TRUE(a && b);
    set_viewport(100, 50, 200, 100);
    set_origin(7, 9);
    set_colour(1, 2, 300);
    set_alpha(0.5f);
    set_blend_mode(BLEND_ALPHA);
    set_clear_colour(0, 0, 255);
    set_line_width(2);
    set_transform(10, 2, 3);
    set_handle(4, 5);

    set_render_target(a);
    int32_t x, y, w, h;
    get_viewport(x, y, w, h);
    EXPECT_EQ((std::array<int, 4>{x, y, w, h}), (std::array<int, 4>{0, 0, 64, 64}));
    float ox, oy;
    get_origin(ox, oy);
    EXPECT_EQ(ox, 0);
    EXPECT_EQ(oy, 0);
    int32_t r, g, bl;
    get_colour(r, g, bl);
    EXPECT_EQ(bl, 300) << "the colour carries over";
    EXPECT_EQ(get_blend_mode(), BLEND_ALPHA);
    EXPECT_EQ(get_rotation(), 10);
    // Everything changed in here, then a switch to another image.
    set_viewport(1, 1, 5, 5);
    set_origin(3, 3);
    set_colour(9, 9, 9);
    set_alpha(1);
    set_blend_mode(BLEND_LIGHT);
    set_clear_colour(9, 9, 9);
    set_line_width(7);
    set_transform(0, 1, 1);
    set_handle(0, 0);
    set_render_target(b);
    get_viewport(x, y, w, h);
    EXPECT_EQ((std::array<int, 4>{x, y, w, h}), (std::array<int, 4>{0, 0, 32, 16}));
    EXPECT_EQ(screen_width(), 32);
    clear_screen();
    EXPECT_EQ(count(grab_render_image(b), RGBA{9, 9, 9, 255}), 32 * 16);
    set_render_target(nullptr);

    get_viewport(x, y, w, h);
    EXPECT_EQ((std::array<int, 4>{x, y, w, h}), (std::array<int, 4>{100, 50, 200, 100}));
    get_origin(ox, oy);
    EXPECT_EQ(ox, 7);
    EXPECT_EQ(oy, 9);
    get_colour(r, g, bl);
    EXPECT_EQ((std::array<int, 3>{r, g, bl}), (std::array<int, 3>{1, 2, 300}));
    EXPECT_EQ(get_alpha(), 0.5f);
    EXPECT_EQ(get_blend_mode(), BLEND_ALPHA);
    EXPECT_EQ(get_line_width(), 2);
    EXPECT_EQ(get_rotation(), 10);
    float sx, sy;
    get_scale(sx, sy);
    EXPECT_EQ(sx, 2);
    EXPECT_EQ(sy, 3);
    float hx, hy;
    get_handle(hx, hy);
    EXPECT_EQ(hx, -4);
    EXPECT_EQ(screen_width(), 640);
    EXPECT_EQ(screen_height(), 480);
    // And the renderer has it too: the clear stays in the viewport, in the
    // window's clear colour; a shape is drawn in the window's colour.
    clear_screen();
    EXPECT_EQ(count_pixels(0, 0, 640, 480, RGB{0, 0, 255}), 200 * 100);
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{100, 50, 300, 150}));
    set_alpha(1);
    set_blend_mode(BLEND_SOLID);
    set_transform(0, 1, 1);
    set_handle(0, 0);
    set_colour(255, 255, 255);
    draw_rect(100, 50, 3, 3); // at the origin: (107, 59)
    EXPECT_EQ(pixel(107, 59), WHITE);
    EXPECT_EQ(pixel(106, 58), (RGB{0, 0, 255}));
}

TEST_F(RenderImage, SizesAtTheEdges)
{
    const Ref<TImage> one = made(1, 1);
    ASSERT_TRUE(one);
    set_render_target(one);
    set_colour(1, 2, 3);
    plot_point(0, 0);
    set_render_target(nullptr);
    EXPECT_EQ(at(grab_render_image(one), 0, 0), (RGBA{1, 2, 3, 255}));

    // Larger than the window: its far corner is drawn and read all the same.
    const Ref<TImage> large = made(1000, 700);
    ASSERT_TRUE(large);
    set_render_target(large);
    set_colour(255, 255, 255);
    draw_rect(990, 690, 10, 10);
    set_render_target(nullptr);
    const Ref<TPixmap> p = grab_render_image(large);
    EXPECT_EQ(count(p, RGBA{255, 255, 255, 255}), 100);
    EXPECT_EQ(at(p, 999, 699), (RGBA{255, 255, 255, 255}));

    for (const auto& [w, h] : {std::pair{0, 5}, std::pair{5, 0}, std::pair{-3, 4}}) {
        EXPECT_FALSE(create_render_image(w, h)) << w << " x " << h;
        EXPECT_EQ(error_text(), "An offscreen image must be at least 1 x 1, not " +
                                    std::to_string(w) + " x " + std::to_string(h));
    }
    int32_t largest = 0;
    if (renderer_under_test() == "gles2")
        gles.glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    else
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    ASSERT_GT(largest, 0);
    EXPECT_FALSE(create_render_image(largest + 1, 1));
    const std::string said = error_text();
    EXPECT_EQ(said.rfind("An offscreen image of " + std::to_string(largest + 1) + " x 1 needs a ", 0), 0u)
        << said;
    EXPECT_NE(said.find("takes at most " + std::to_string(largest)), std::string::npos) << said;
    EXPECT_FALSE(render_target());
    EXPECT_TRUE(made(1, 1)) << "a success clears the error";
    EXPECT_EQ(error_text(), "");
}

TEST_F(RenderImage, ImageAndPictureOutliveANewWindow)
{
    const Ref<TImage> image = made(16, 16);
    ASSERT_TRUE(image);
    set_render_target(image);
    set_colour(200, 100, 50);
    draw_rect(0, 0, 16, 8);
    close_opened_graphics(); // goes back to the window on its way
    EXPECT_FALSE(render_target());
    ASSERT_TRUE(open_graphics(640, 480, 0, 60, 0)) << error_text();
    reset_state();
    set_blend_mode(BLEND_ALPHA);
    draw_image(image, 10, 10, 0);
    EXPECT_EQ(count_pixels(10, 10, 26, 18, RGB{200, 100, 50}), 16 * 8);
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{10, 10, 26, 18}));
    // The new context draws into it too.
    set_render_target(image);
    set_blend_mode(BLEND_SOLID);
    set_colour(0, 255, 0);
    draw_rect(0, 8, 16, 8);
    set_render_target(nullptr);
    const Ref<TPixmap> p = grab_render_image(image);
    EXPECT_EQ(count(p, RGBA{200, 100, 50, 255}), 16 * 8);
    EXPECT_EQ(count(p, RGBA{0, 255, 0, 255}), 16 * 8);
}

TEST_F(RenderImage, FlipGoesBackToTheWindowAndGrabKeepsTheTarget)
{
    const Ref<TImage> a = made(8, 8), b = made(8, 8);
    ASSERT_TRUE(a && b);
    set_render_target(b);
    set_colour(0, 0, 255);
    draw_rect(0, 0, 8, 8);
    set_render_target(a);
    set_origin(2, 2);
    EXPECT_EQ(count(grab_render_image(b), RGBA{0, 0, 255, 255}), 64);
    EXPECT_TRUE(same_object(render_target(), a));
    float ox, oy;
    get_origin(ox, oy);
    EXPECT_EQ(ox, 2) << "reading another image leaves the target's state";
    set_colour(255, 0, 0);
    draw_rect(0, 0, 2, 2); // at (2, 2)
    EXPECT_EQ(at(current_renderer()->read_back_pixmap(0, 0, 8, 8), 2, 2), (RGBA{255, 0, 0, 255}));
    flip_frame(0);
    EXPECT_FALSE(render_target());
    EXPECT_EQ(screen_width(), 640);
    EXPECT_EQ(count(grab_render_image(a), RGBA{255, 0, 0, 255}), 4);
}

TEST_F(RenderImage, MisuseRaisesAndChangesNothing)
{
    const Ref<TImage> ordinary = TImage::load(Ref<TObject>(solid(4, 4, 0xFFFFFFFF)), 0, 0, 0, 0);
    EXPECT_FALSE(is_render_image(ordinary));
    EXPECT_THROW(set_render_target(ordinary), TRuntimeError);
    EXPECT_THROW(grab_render_image(ordinary), TRuntimeError);
    EXPECT_FALSE(render_target());

    const Ref<TImage> image = made(8, 8);
    ASSERT_TRUE(image);
    set_render_target(image);
    try {
        draw_image(image, 0, 0, 0);
        ADD_FAILURE() << "drawn into itself";
    } catch (const TRuntimeError& e) {
        EXPECT_EQ(e.message().to_bytes(), "An offscreen image cannot be drawn into itself");
    }
    set_render_target(nullptr);
    // A pixmap put in makes it an ordinary image.
    image->set_pixmap(0, solid(8, 8, 0xFFFFFFFF));
    EXPECT_FALSE(is_render_image(image));
    draw_image(image, 0, 0, 0);
    EXPECT_EQ(count_pixels(0, 0, 8, 8, WHITE), 64);
}

// Swaps the frame's texture name with name and forgets its framebuffer, so
// that the next target switch makes one for whatever texture it then has.
template <class Frame>
bool swap_texture(const Ref<TImageFrame>& frame, GLuint& name)
{
    const Ref<Frame> f = ref_cast<Frame>(frame);
    if (!f)
        return false;
    std::swap(f->picture->texture, name);
    f->framebuffer = 0;
    return true;
}

// A framebuffer the driver refuses: the frame's texture swapped for a name
// with no storage.
TEST_F(RenderImage, AnIncompleteFramebufferIsAClearErrorNotACrash)
{
    const Ref<TImage> image = made(8, 8);
    ASSERT_TRUE(image);
    const bool es = renderer_under_test() == "gles2";
    const auto swap = es ? &swap_texture<Gles2RenderFrame> : &swap_texture<GLRenderFrame>;
    GLuint empty = 0;
    if (es)
        gles.glGenTextures(1, &empty);
    else
        glGenTextures(1, &empty);
    ASSERT_TRUE(swap(image->frame(0), empty));
    set_viewport(10, 10, 20, 20);
    try {
        set_render_target(image);
        ADD_FAILURE() << "no error";
    } catch (const TRuntimeError& e) {
        EXPECT_EQ(e.message().to_bytes().rfind("The offscreen image's framebuffer is incomplete (status 0x", 0), 0u)
            << e.message().to_bytes();
    }
    EXPECT_FALSE(render_target());
    EXPECT_EQ(screen_width(), 640);
    set_clear_colour(0, 0, 255);
    clear_screen();
    EXPECT_EQ(count_pixels(0, 0, 640, 480, RGB{0, 0, 255}), 400) << "the window stays the target";
    // Put back, it draws again; the storage-less name goes.
    swap(image->frame(0), empty);
    if (es)
        gles.glDeleteTextures(1, &empty);
    else
        glDeleteTextures(1, &empty);
    set_render_target(image);
    EXPECT_TRUE(same_object(render_target(), image));
}

} // namespace
} // namespace vantrel::test
