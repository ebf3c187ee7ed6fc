// Image collision tests: which pixels count as drawn, where handle, frame,
// rotation and scale put them, and that they match the quad the renderer is
// given for the same placement (read from the null renderer's log).
#include "assets/pixmap.h"
#include "gfx/draw.h"
#include "gfx/graphics2d.h"
#include "gfx/image.h"
#include "gfx/image_collision.h"
#include "support/null_fixture.h"

#include <cmath>

namespace vantrel::test {
namespace {

Ref<TImage> solid(int32_t w, int32_t h, int32_t format = FORMAT_RGBA32)
{
    auto p = new_pixmap(w, h, format, 4);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            p->put_pixel(x, y, 0xFF808080u);
    return TImage::load(Ref<TObject>(p), 0, 0, 0, 0);
}

// A w x h picture that draws only the pixel (px, py).
Ref<TImage> one_pixel(int32_t w, int32_t h, int32_t px, int32_t py)
{
    auto p = new_pixmap(w, h, FORMAT_RGBA32, 4);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            p->put_pixel(x, y, x == px && y == py ? 0xFFFFFFFFu : 0x00FFFFFFu);
    return TImage::load(Ref<TObject>(p), 0, 0, 0, 0);
}

ImagePlacement at(float x, float y, float rotation = 0, float sx = 1, float sy = 1, int32_t frame = 0)
{
    return {x, y, frame, rotation, sx, sy};
}

TEST(ImageCollision, OpaqueRectanglesMeetWhenTheyShareAPixel)
{
    const auto a = solid(4, 4), b = solid(3, 5);
    EXPECT_TRUE(images_collide(a, at(0, 0), b, at(3, 3)));
    EXPECT_FALSE(images_collide(a, at(0, 0), b, at(4, 0))); // edge to edge
    EXPECT_FALSE(images_collide(a, at(0, 0), b, at(0, -5)));
    EXPECT_TRUE(images_collide(a, at(0, 0), b, at(-2.4f, -4.4f))); // centre (0.5, 0.5) shared
    EXPECT_FALSE(images_collide(a, at(0, 0), b, at(-2.6f, 0))); // b ends at x 0.4
}

TEST(ImageCollision, OnlyDrawnPixelsCount)
{
    const auto a = one_pixel(5, 5, 3, 1), b = one_pixel(4, 4, 0, 2);
    for (int32_t dy = -4; dy <= 4; ++dy)
        for (int32_t dx = -4; dx <= 4; ++dx)
            EXPECT_EQ(images_collide(a, at(0, 0), b, at(static_cast<float>(dx), static_cast<float>(dy))),
                      dx == 3 && dy == -1)
                << dx << "," << dy;
    // Without alpha every pixel is drawn; masked ones leave out the key.
    auto rgb = new_pixmap(2, 1, FORMAT_BGR24, 4);
    rgb->put_pixel(0, 0, 0xFFFF00FFu), rgb->put_pixel(1, 0, 0xFF102030u);
    auto plain = TImage::create(2, 1, 1, 0, 255, 0, 255);
    plain->pixmaps[0] = rgb;
    auto keyed = TImage::create(2, 1, 1, IMAGE_MASKED, 255, 0, 255);
    keyed->pixmaps[0] = rgb; // kept as it is, as a locked frame would be
    EXPECT_TRUE(image_point_collide(plain, at(0, 0), 0.5f, 0.5f));
    EXPECT_FALSE(image_point_collide(keyed, at(0, 0), 0.5f, 0.5f));
    EXPECT_TRUE(image_point_collide(keyed, at(0, 0), 1.5f, 0.5f));
    // Loaded through the mask colour, the key became alpha.
    set_mask_colour(255, 0, 255);
    auto loaded = TImage::load(Ref<TObject>(rgb), IMAGE_MASKED, 255, 0, 255);
    EXPECT_FALSE(image_point_collide(loaded, at(0, 0), 0.5f, 0.5f));
    EXPECT_TRUE(image_point_collide(loaded, at(0, 0), 1.5f, 0.5f));
}

TEST(ImageCollision, HandleAndFramePlaceThePicture)
{
    auto image = TImage::create(4, 4, 2, 0, 0, 0, 0);
    image->pixmaps[0] = one_pixel(4, 4, 0, 0)->pixmaps[0];
    image->pixmaps[1] = one_pixel(4, 4, 3, 3)->pixmaps[0];
    set_image_handle(image, 2, 2);
    EXPECT_TRUE(image_point_collide(image, at(10, 10), 8.5f, 8.5f));
    EXPECT_FALSE(image_point_collide(image, at(10, 10), 11.5f, 11.5f));
    EXPECT_TRUE(image_point_collide(image, at(10, 10, 0, 1, 1, 1), 11.5f, 11.5f));
    EXPECT_FALSE(image_point_collide(image, at(10, 10, 0, 1, 1, 2), 11.5f, 11.5f)); // no frame 2
    image->pixmaps[1] = nullptr;
    EXPECT_FALSE(image_point_collide(image, at(10, 10, 0, 1, 1, 1), 11.5f, 11.5f));
}

TEST(ImageCollision, RotationTurnsClockwiseAndScaleStretches)
{
    const auto bar = one_pixel(4, 1, 3, 0); // drawn at its right end
    // 90 degrees clockwise on screen: the right end goes down.
    EXPECT_TRUE(image_point_collide(bar, at(10, 10, 90), 9.5f, 13.5f));
    EXPECT_FALSE(image_point_collide(bar, at(10, 10, 90), 13.5f, 10.5f));
    EXPECT_TRUE(image_point_collide(bar, at(10, 10, -90), 10.5f, 6.5f));
    // Scaled 3 x 2: the pixel covers x 19..22, y 10..12.
    EXPECT_TRUE(image_point_collide(bar, at(10, 10, 0, 3, 2), 21.9f, 11.9f));
    EXPECT_FALSE(image_point_collide(bar, at(10, 10, 0, 3, 2), 18.9f, 11));
    EXPECT_FALSE(image_point_collide(bar, at(10, 10, 0, 3, 2), 20, 12.1f));
    // Mirrored by a negative scale, flattened by a zero one.
    EXPECT_TRUE(image_point_collide(bar, at(10, 10, 0, -1, 1), 6.5f, 10.5f));
    EXPECT_FALSE(image_point_collide(bar, at(10, 10, 0, 0, 1), 10, 10.5f));
    const auto rotated = solid(8, 2);
    EXPECT_TRUE(images_collide(rotated, at(0, 0, 45), bar, at(1, 5))); // shares (4.5, 5.5)
    EXPECT_FALSE(images_collide(rotated, at(0, 0, 45), bar, at(1, 5, 0, 0.3f, 1))); // x 1.9..2.2: no centre
    EXPECT_FALSE(images_collide(rotated, at(0, 0, 45), bar, at(5, 2)));
}

TEST(ImageCollision, RectanglesCoverPixelCentres)
{
    const auto image = one_pixel(6, 6, 4, 2);
    EXPECT_TRUE(image_rect_collide(image, at(0, 0), 4, 2, 1, 1));
    EXPECT_TRUE(image_rect_collide(image, at(0, 0), 0, 0, 6, 6));
    EXPECT_FALSE(image_rect_collide(image, at(0, 0), 0, 0, 4.5f, 6)); // centre 4.5 left out
    EXPECT_TRUE(image_rect_collide(image, at(0, 0), 0, 0, 4.51f, 6));
    EXPECT_TRUE(image_rect_collide(image, at(0, 0), 6, 3, -1.6f, -1)); // grows left and up
    EXPECT_FALSE(image_rect_collide(image, at(0, 0), 5, 2, 1, 1));
    EXPECT_FALSE(image_rect_collide(image, at(0, 0), 4, 2, 0, 5));
    EXPECT_FALSE(image_rect_collide(image, at(0, 0), NAN, 2, 1, 1));
    EXPECT_FALSE(image_rect_collide(Ref<TImage>(), at(0, 0), 0, 0, 10, 10));
}

class NullImageCollision : public NullGfxTest {};

// For placements the renderer draws, points just inside each corner of the
// quad it is given are drawn, and points just outside are not.
TEST_F(NullImageCollision, MatchesTheDrawnQuad)
{
    const auto image = solid(40, 24, FORMAT_RGB24);
    set_image_handle(image, 7.5f, 20);
    const float placements[][3] = {{0, 1, 1}, {30, 1, 1}, {-117, 1.5f, 0.5f}, {200, -2, 3}, {90, 1, 1}};
    for (const auto& [rotation, sx, sy] : placements) {
        SCOPED_TRACE(rotation);
        set_transform(rotation, sx, sy);
        const auto shapes = shapes_of([&] { draw_image(image, 300.25f, 200.5f, 0); });
        set_transform(0, 1, 1);
        ASSERT_EQ(shapes.size(), 1u);
        const auto& v = shapes[0].vertices;
        ASSERT_EQ(v.size(), 4u);
        const float cx = (v[0].x + v[2].x) / 2, cy = (v[0].y + v[2].y) / 2;
        const ImagePlacement placed = at(300.25f, 200.5f, rotation, sx, sy);
        for (const NullVertex& corner : v) {
            const float dx = corner.x - cx, dy = corner.y - cy;
            const float len = std::hypot(dx, dy);
            EXPECT_TRUE(image_point_collide(image, placed, corner.x - dx / len * 0.05f, corner.y - dy / len * 0.05f));
            EXPECT_FALSE(image_point_collide(image, placed, corner.x + dx / len * 0.05f, corner.y + dy / len * 0.05f));
        }
    }
}

} // namespace
} // namespace vantrel::test
