// Texture work in a display driver's shared context (textures are made and
// deleted there, so they outlive the windows that draw them).
#pragma once

#include "gfx/gl/gl_graphics_driver.h"

#include <utility>

namespace vantrel {

// Runs work with the shared context current and the drawing context current
// again after it, also when work raises; gives work's result. Before the
// driver has a shared context, work runs in the drawing context instead, and
// rebind then gives that context back the texture binding its renderer
// believes in, which work may have changed.
template <class Work, class Rebind>
auto in_shared_context(GLGraphicsDriver& driver, Work&& work, Rebind&& rebind)
{
    struct SwitchBack {
        GLGraphicsDriver& driver;
        Rebind& rebind;
        bool in_drawing_context;
        ~SwitchBack()
        {
            if (in_drawing_context)
                rebind();
            else
                driver.switch_shared_context();
        }
    };
    const bool in_drawing_context = driver.textures_in_drawing_context();
    if (!in_drawing_context)
        driver.switch_shared_context();
    const SwitchBack back{driver, rebind, in_drawing_context};
    return work();
}

// For work that leaves the binding alone, as deleting does: a deleted
// texture that was bound is unbound, and the renderer forgets it first.
template <class Work>
auto in_shared_context(GLGraphicsDriver& driver, Work&& work)
{
    return in_shared_context(driver, std::forward<Work>(work), [] {});
}

} // namespace vantrel
