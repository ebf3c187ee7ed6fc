// A program built against the installed engine, out of the source tree: it
// starts the engine, opens a small window, draws a rectangle and an image
// made from a pixmap, reads the frame back and prints three pixels, then
// whether the audio output opened. It exits 0 only when each pixel shows
// what was drawn there.
#include <assets/pixmap.h>
#include <assets/pixmap_loader.h>
#include <assets/stream.h>
#include <audio/audio.h>
#include <audio/sample_loader.h>
#include <gfx/draw.h>
#include <gfx/gl/gl_backend.h>
#include <gfx/graphics.h>
#include <gfx/graphics2d.h>
#include <gfx/image.h>
#include <input/events.h>
#include <input/system_driver.h>

#include <cstdint>
#include <cstdio>

using namespace vantrel;

namespace {

void start_engine()
{
    gl_backend_init();
    streams_init();
    pixmap_loaders_init();
    sample_loaders_init();
    events_init();
    system_driver_init();
    graphics_init();
    graphics2d_init();
}

Ref<TImage> green_square()
{
    auto pixmap = new_pixmap(8, 8, FORMAT_RGB24, 4);
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 8; ++x)
            pixmap->put_pixel(x, y, make_argb(255, 0, 200, 0));
    return load_image(Ref<TObject>(pixmap), 0);
}

bool report(const Ref<TPixmap>& frame, const char* what, int32_t x, int32_t y, uint32_t want)
{
    const uint32_t rgb = frame->get_pixel(x, y) & 0xFFFFFFu;
    std::printf("%s %d,%d %06x\n", what, x, y, static_cast<unsigned>(rgb));
    return rgb == want;
}

} // namespace

int main()
{
    start_engine();
    set_app_title(Text(u"Vantrel consumer"));
    if (!open_graphics(64, 48, 0, 60, 0)) {
        std::fprintf(stderr, "no window: %s\n", last_graphics_error().to_bytes().c_str());
        return 1;
    }
    set_clear_colour(0, 0, 255);
    clear_screen();
    set_blend_mode(BLEND_SOLID);
    set_colour(255, 128, 0);
    draw_rect(8, 8, 16, 16);
    set_colour(255, 255, 255);
    draw_image(green_square(), 40, 8, 0);
    const Ref<TPixmap> frame = current_renderer()->read_back_pixmap(0, 0, 64, 48);
    flip_frame(0);
    bool ok = report(frame, "rect", 16, 16, 0xFF8000);
    ok = report(frame, "image", 44, 12, 0x00C800) && ok;
    ok = report(frame, "clear", 2, 40, 0x0000FF) && ok;
    std::printf("audio %d\n", static_cast<int>(audio_init()));
    close_opened_graphics();
    return ok ? 0 : 1;
}
