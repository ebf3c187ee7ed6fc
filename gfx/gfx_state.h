// Everything the graphics layer keeps between calls, in one record: the
// display driver and the graphics in use, the window opened for the program,
// the 2-D drawing state and renderer, the offscreen image drawn into, the
// image-loading settings, the frame pacing, the window's icon and title, and
// the built-in font. The free functions of gfx/ are thin wrappers over it.
//
// The record is built on first use and never destroyed: the exit action that
// closes the window and the texture releases of images that live to the end
// run after static destructors. reset() closes the opened window and puts
// the record back as it is at program load, except that the graphics
// generation moves on, so textures made before never match a later context.
#pragma once

#include "gfx/font.h"
#include "gfx/graphics.h"
#include "gfx/graphics2d.h"
#include "gfx/render_driver.h"
#include "gfx/render_target_state.h"

#include <cstdint>

namespace vantrel {

struct GraphicsSettings {
    int32_t width = 0, height = 0, depth = 0, hertz = 0, flags = 0;
};

struct GfxState {
    bool host_paced = false;
    const TGraphicsBackend* backend = nullptr;
    Ref<TDisplayDriver> driver;
    int32_t default_flags = 0;
    TGraphicsModeArray modes;
    bool modes_cached = false;
    Ref<TGraphics> current;
    GraphicsSettings settings;
    Ref<TGraphics> opened;
    int32_t seq = 1;
    int32_t flip_hook = -1;
    bool exit_action_registered = false; // once per process, like the action
    Text error;
    Text title;
    Ref<TPixmap> icon;

    bool graphics2d_ready = false;
    Ref<TGraphics2D> g2d;
    Ref<TRenderDriver> renderer;
    RenderTargetState render_target;

    int32_t mask_red = 0, mask_green = 0, mask_blue = 0;
    int32_t auto_centre = 0;
    int32_t auto_flags = 0;

    FramePacing pacing;
    Ref<TGlyphFont> default_font;

    void reset();
};

GfxState& gfx_state();

} // namespace vantrel
