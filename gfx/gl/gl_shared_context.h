// Texture work in a display driver's shared context (textures are made and
// deleted there, so they outlive the windows that draw them).
#pragma once

#include "gfx/gl/gl_graphics_driver.h"

namespace vantrel {

// Runs work with the shared context current and the drawing context current
// again after it, also when work raises; gives work's result.
template <class Work>
auto in_shared_context(GLGraphicsDriver& driver, Work&& work)
{
    struct SwitchBack {
        GLGraphicsDriver& driver;
        ~SwitchBack() { driver.switch_shared_context(); }
    };
    driver.switch_shared_context();
    const SwitchBack back{driver};
    return work();
}

} // namespace vantrel
