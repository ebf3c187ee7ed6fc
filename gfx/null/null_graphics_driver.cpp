// NullGraphicsDriver over null windows.
#include "gfx/null/null_graphics_driver.h"

#include "gfx/immortal.h"
#include "input/system_driver.h"
#include "platform/unicode.h"

namespace vantrel {
namespace {

// The messages of null windows go to the input layer; a close request is
// only reported, as for any window.
bool window_procedure(const platform::OSMessage& message)
{
    if (!platform::find_null_window(message.window))
        return false;
    send_os_event(message, nullptr);
    return true;
}

} // namespace

TNullGraphics::TNullGraphics(Ref<platform::NullWindow> null_window, int32_t depth, int32_t hertz,
                             int32_t flags)
    : window_(std::move(null_window)), width_(window_->width), height_(window_->height),
      depth_(depth), hertz_(hertz), flags_(flags)
{
}

Ref<TDisplayDriver> TNullGraphics::driver() { return null_graphics_driver(); }

void TNullGraphics::get_settings(int32_t& width, int32_t& height, int32_t& depth, int32_t& hertz,
                                 int32_t& flags)
{
    if (!window_) {
        width = height = depth = hertz = flags = 0;
        return;
    }
    width = width_;
    height = height_;
    depth = depth_;
    hertz = hertz_;
    flags = flags_;
}

void TNullGraphics::close()
{
    if (!window_)
        return;
    window_->close();
    window_ = nullptr;
}

TGraphicsModeArray NullGraphicsDriver::list_modes()
{
    auto mode = make_ref<TGraphicsMode>();
    mode->width = 640;
    mode->height = 480;
    mode->depth = 32;
    mode->hertz = 60;
    return {mode};
}

Ref<TGraphics> NullGraphicsDriver::wrap_window(const Ref<TObject>&, int32_t)
{
    set_graphics_error(u"The null display driver has no native windows");
    return nullptr;
}

Ref<TGraphics> NullGraphicsDriver::make_graphics(int32_t width, int32_t height, int32_t depth,
                                                 int32_t hertz, int32_t flags)
{
    if (width < 1 || height < 1) {
        set_graphics_error(u"The null display driver needs a size of at least 1 x 1");
        return nullptr;
    }
    // Once per window rather than once per driver: the list ignores a
    // procedure it has, and a reset of the input layer empties it.
    add_window_procedure(&window_procedure);
    auto window = platform::create_null_window(platform::utf8_from_utf16(app_title().view()),
                                               width, height);
    return make_ref<TNullGraphics>(std::move(window), depth, hertz, flags);
}

void NullGraphicsDriver::bind_graphics(const Ref<TGraphics>& g)
{
    current_ = ref_cast<TNullGraphics>(g);
}

void NullGraphicsDriver::flip(int32_t)
{
    if (!current_ || !current_->window())
        return;
    current_->window()->present();
    ++flips_;
}

Ref<NullGraphicsDriver> null_graphics_driver()
{
    // Never destroyed, like the drivers of other backends.
    static Immortal<Ref<NullGraphicsDriver>> driver(make_ref<NullGraphicsDriver>());
    return driver.get();
}

} // namespace vantrel
