// The 2-D drawing state: colour, alpha, blend mode, clear colour, line width,
// rotation and scale (folded into a 2 x 2 matrix), origin, handle, viewport
// and font.
//
// The state lives in the current TGraphics2D, the graphics the renderer makes
// when graphics are opened, so each graphics keeps its own. Every setter
// stores its value there and passes it to the current renderer at once;
// origin and handle are applied by the drawing operations themselves.
// Setters and getters need open graphics.
#pragma once

#include "gfx/graphics.h"
#include "gfx/render_driver.h"

#include <cstdint>

namespace vantrel {

class TGlyphFont;

class TGraphics2D final : public TGraphics {
public:
    int32_t colour_red = 0, colour_green = 0, colour_blue = 0; // unclamped
    float alpha = 0;                                           // unclamped
    int32_t clear_red = 0, clear_green = 0, clear_blue = 0;
    float line_width = 0;
    float rotation = 0; // degrees, clockwise on screen
    float scale_x = 0, scale_y = 0;
    float ix = 0, iy = 0, jx = 0, jy = 0;
    int32_t viewport_x = 0, viewport_y = 0, viewport_width = 0, viewport_height = 0;
    float origin_x = 0, origin_y = 0;
    float handle_x = 0, handle_y = 0; // stored negated
    Ref<TGlyphFont> image_font;
    int32_t blend_mode = 0;
    Ref<TGraphics> backend;
    Ref<TRenderDriver> renderer;
    int32_t initialised = 0;

    TGraphics2D(Ref<TGraphics> backend_graphics, Ref<TRenderDriver> made_by);
    ~TGraphics2D() override; // out of line: TGlyphFont is incomplete here

    Ref<TDisplayDriver> driver() override;
    void get_settings(int32_t& width, int32_t& height, int32_t& depth, int32_t& hertz,
                      int32_t& flags) override;
    void close() override;
};

// Registers the built-in font's asset, runs graphics_init, then makes the
// registered backend's renderer the current display driver (GLRenderDriver
// in the program, after gl_backend_init). Safe to call more than once.
void graphics2d_init();

// Makes g the current TGraphics2D; gives it its initial state the first time.
void use_graphics2d(const Ref<TGraphics>& g);
Ref<TGraphics2D> current_graphics2d();
Ref<TRenderDriver> current_renderer();

void set_colour(int32_t red, int32_t green, int32_t blue);
void get_colour(int32_t& red, int32_t& green, int32_t& blue);
void set_alpha(float alpha);
float get_alpha();
void set_blend_mode(int32_t mode);
int32_t get_blend_mode();
void set_clear_colour(int32_t red, int32_t green, int32_t blue);
void get_clear_colour(int32_t& red, int32_t& green, int32_t& blue);
void set_line_width(float width);
float get_line_width();
void set_rotation(float degrees);
float get_rotation();
void set_scale(float x, float y);
void get_scale(float& x, float& y);
void set_transform(float degrees, float scale_x, float scale_y);
void set_origin(float x, float y);
void get_origin(float& x, float& y);
void set_handle(float x, float y);
void get_handle(float& x, float& y); // the stored, negated values
void set_viewport(int32_t x, int32_t y, int32_t width, int32_t height);
void get_viewport(int32_t& x, int32_t& y, int32_t& width, int32_t& height);
void select_font(const Ref<TGlyphFont>& font); // null selects the built-in font
Ref<TGlyphFont> current_font();

} // namespace vantrel
