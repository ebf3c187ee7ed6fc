// TPixmap: construction, views, copies, pastes, conversion and single pixels.
#include "assets/pixmap.h"

#include "core/error.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace vantrel {
namespace {

// A pixmap whose pixel (x, y) is ARGB (255, x*16, y*16, x+y).
Ref<TPixmap> ramp(int32_t w, int32_t h, int32_t format)
{
    auto p = new_pixmap(w, h, format, 4);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            p->put_pixel(x, y, make_argb(255, x * 16, y * 16, x + y));
    return p;
}

TEST(NewPixmap, PitchIsRaisedToTheAlignment)
{
    auto p = new_pixmap(5, 1, FORMAT_RGB24, 4);
    EXPECT_EQ(p->pitch, 16);
    EXPECT_EQ(p->capacity, 16);
    EXPECT_EQ(new_pixmap(5, 1, FORMAT_RGB24, 1)->pitch, 15);
    EXPECT_EQ(new_pixmap(4, 3, FORMAT_RGB24, 4)->pitch, 12); // already a multiple
    auto q = new_pixmap(7, 3, FORMAT_GRAY8, 8);
    EXPECT_EQ(q->pitch, 8);
    EXPECT_EQ(q->capacity, 24);
    EXPECT_EQ(q->width, 7);
    EXPECT_EQ(q->height, 3);
    EXPECT_EQ(q->format, FORMAT_GRAY8);
}

TEST(NewPixmap, OwnedMemoryIs16ByteAligned)
{
    for (int32_t w : {0, 1, 3, 17, 255}) {
        auto p = new_pixmap(w, 3, FORMAT_RGB24, 1);
        ASSERT_NE(p->pixels, nullptr);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(p->pixels) % 16, 0u) << w;
    }
}

TEST(NewPixmap, RefusesImpossibleRequests)
{
    EXPECT_THROW(new_pixmap(-1, 4, FORMAT_RGBA32, 4), TRuntimeError);
    EXPECT_THROW(new_pixmap(4, -1, FORMAT_RGBA32, 4), TRuntimeError);
    EXPECT_THROW(new_pixmap(4, 4, 7, 4), TRuntimeError);
    // 65536 x 65536 x 4 bytes would wrap a 32-bit capacity.
    EXPECT_THROW(new_pixmap(65536, 65536, FORMAT_RGBA32, 4), TRuntimeError);
    EXPECT_THROW(new_pixmap(std::numeric_limits<int32_t>::max(), 1, FORMAT_RGBA32, 4),
                 TRuntimeError);
}

TEST(WrapPixels, ViewsTheCallersMemory)
{
    uint8_t memory[2 * 8] = {};
    auto p = wrap_pixels(memory, 2, 2, 8, FORMAT_RGBA32);
    EXPECT_EQ(p->capacity, -1);
    EXPECT_EQ(p->pixel_ptr(1, 1), memory + 12);
    p->put_pixel(1, 1, make_argb(4, 1, 2, 3));
    EXPECT_EQ(memory[12], 1);
    EXPECT_EQ(memory[15], 4);
}

TEST(Pixmap, WindowSharesMemoryAndOutlivesItsParent)
{
    auto parent = ramp(8, 6, FORMAT_RGB24);
    auto view = parent->window(2, 3, 4, 2);
    EXPECT_EQ(parent->ref_count(), 2); // the view holds its parent
    EXPECT_EQ(view->pixels, parent->pixel_ptr(2, 3));
    EXPECT_EQ(view->pitch, parent->pitch);
    EXPECT_EQ(view->capacity, -1);
    EXPECT_EQ(view->get_pixel(0, 0), parent->get_pixel(2, 3));
    view->put_pixel(1, 1, make_argb(255, 9, 9, 9));
    EXPECT_EQ(parent->get_pixel(3, 4), make_argb(255, 9, 9, 9));
    parent.reset();
    EXPECT_EQ(view->get_pixel(1, 1), make_argb(255, 9, 9, 9)); // still valid memory
}

TEST(Pixmap, CopyIsEqualAndIndependent)
{
    auto view = ramp(6, 5, FORMAT_BGR24)->window(1, 1, 3, 3);
    auto copy = view->copy();
    EXPECT_GE(copy->capacity, 0);
    EXPECT_EQ(copy->pitch, 12);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 3; ++x)
            EXPECT_EQ(copy->get_pixel(x, y), view->get_pixel(x, y));
    copy->put_pixel(0, 0, 0);
    EXPECT_NE(view->get_pixel(0, 0), copy->get_pixel(0, 0));
}

TEST(Pixmap, PasteConvertsEachRowIntoPlace)
{
    auto dst = new_pixmap(5, 4, FORMAT_RGBA32, 4);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 5; ++x)
            dst->put_pixel(x, y, 0);
    auto src = ramp(2, 3, FORMAT_BGR24);
    dst->paste(src, 2, 1);
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 5; ++x) {
            const bool inside = x >= 2 && x < 4 && y >= 1 && y < 4;
            EXPECT_EQ(dst->get_pixel(x, y), inside ? src->get_pixel(x - 2, y - 1) : 0u)
                << x << "," << y;
        }
    }
}

TEST(Pixmap, ConvertKeepsSizeAndConvertsEveryRow)
{
    auto src = ramp(5, 3, FORMAT_RGBA32);
    auto bgr = src->convert(FORMAT_BGR24);
    EXPECT_EQ(bgr->format, FORMAT_BGR24);
    EXPECT_EQ(bgr->pitch, 16);
    const uint8_t* p = bgr->pixel_ptr(4, 2);
    EXPECT_EQ(p[0], 6);  // blue x + y
    EXPECT_EQ(p[1], 32); // green y * 16
    EXPECT_EQ(p[2], 64); // red x * 16
    auto back = bgr->convert(FORMAT_RGBA32);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 5; ++x)
            EXPECT_EQ(back->get_pixel(x, y), src->get_pixel(x, y));
}

TEST(PixelAccess, GetAndPutFollowEachFormat)
{
    const uint32_t argb = make_argb(128, 255, 128, 64);
    struct Case {
        int32_t format;
        uint32_t read_back;
    } cases[] = {
        {FORMAT_GRAY8, make_argb(255, 149, 149, 149)},
        {FORMAT_ALPHA8, make_argb(128, 255, 255, 255)},
        {FORMAT_BGR24, make_argb(255, 255, 128, 64)},
        {FORMAT_RGB24, make_argb(255, 255, 128, 64)},
        {FORMAT_BGRA32, argb},
        {FORMAT_RGBA32, argb},
    };
    for (const Case& c : cases) {
        auto p = new_pixmap(2, 2, c.format, 4);
        p->put_pixel(1, 1, argb);
        EXPECT_EQ(p->get_pixel(1, 1), c.read_back) << "format " << c.format;
    }
}

TEST(PixelAccess, BytesLandInMemoryOrder)
{
    auto bgra = new_pixmap(1, 1, FORMAT_BGRA32, 4);
    bgra->put_pixel(0, 0, make_argb(4, 3, 2, 1));
    EXPECT_EQ(bgra->pixels[0], 1);
    EXPECT_EQ(bgra->pixels[1], 2);
    EXPECT_EQ(bgra->pixels[2], 3);
    EXPECT_EQ(bgra->pixels[3], 4);
    auto gray = new_pixmap(1, 1, FORMAT_GRAY8, 4);
    gray->put_pixel(0, 0, make_argb(128, 255, 128, 64));
    EXPECT_EQ(gray->pixels[0], 149);
}

TEST(PixelAccess, FormatNoneReadsZeroAndStoresNothing)
{
    uint8_t memory[4] = {1, 2, 3, 4};
    auto p = wrap_pixels(memory, 1, 1, 4, FORMAT_NONE);
    EXPECT_EQ(p->get_pixel(0, 0), 0u);
    p->put_pixel(0, 0, 0xFFFFFFFF);
    EXPECT_EQ(memory[0], 1);
}

} // namespace
} // namespace vantrel
