// The game's window carries the embedded icon: the real start-up sets it and
// the X server holds it as the window's _NET_WM_ICON, pixel for pixel.
#include "game/game_main.h"
#include "game_run.h"

#include "assets/pixmap_loader.h"
#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/graphics.h"
#include "x11_window_icon.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace vantrel {
namespace {

std::vector<uint32_t> expected_property(const Ref<TPixmap>& icon)
{
    const Ref<TPixmap> rgba = icon->convert(FORMAT_RGBA32);
    std::vector<uint32_t> values{static_cast<uint32_t>(rgba->width), static_cast<uint32_t>(rgba->height)};
    for (int32_t y = 0; y < rgba->height; ++y)
        for (int32_t x = 0; x < rgba->width; ++x) {
            const uint8_t* p = rgba->pixel_ptr(x, y);
            values.push_back(uint32_t{p[3]} << 24 | uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2]);
        }
    return values;
}

TEST(GameIcon, TheWindowCarriesTheEmbeddedSixtyFourPixelIcon)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "no X display";
    test::GameRun run;
    const Ref<TPixmap> icon = decode_pixmap(Text(WINDOW_ICON_LOCATION));
    ASSERT_TRUE(icon) << "the icon is not embedded";
    EXPECT_EQ(icon->width, 64);
    EXPECT_EQ(icon->height, 64);
    const auto record = gl_graphics_driver()->current_record();
    ASSERT_TRUE(record && record->window);
    const std::vector<uint32_t> property = vantrel::testing::window_icon_property(record->window->native_handle());
    ASSERT_EQ(property.size(), 2u + 64u * 64u);
    EXPECT_EQ(property, expected_property(icon));
    // Transparent corners and an opaque middle: the alpha made it through.
    EXPECT_EQ(property[2] >> 24, 0u);
    EXPECT_EQ(property[2 + 32 * 64 + 32] >> 24, 255u);
}

} // namespace
} // namespace vantrel
