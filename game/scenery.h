// The scenery's objects and how they move: the island's placement, cloud
// glows and white specks, their spawning and retiring.
//
// Everything here decides; nothing draws. The update-and-draw operations
// (scenery_draw.h) interleave these steps with the drawing in the order that
// keeps every random draw in its place. The scroll speed follows the bird's
// height: the higher the bird, the faster the scenery falls.
#pragma once

#include "core/list.h"
#include "core/object.h"

#include <cstdint>

namespace vantrel {

class TCloud final : public TObject {
public:
    float x = 0;          // left edge of the drawn glow
    float y = 0;          // top edge
    float fall_speed = 0; // 1 to 3 pixels per pass, besides the scroll
    float scale = 0;      // 5.05 to 10.05 times the spark picture
};

class TSpeck final : public TObject {
public:
    float x = 0;
    float y = 0;
    float fall_speed = 0;
};

extern Ref<TList<TCloud>> clouds;
extern Ref<TList<TSpeck>> specks;

// Fresh, empty lists.
void create_scene_lists();

// Pixels per pass that the scenery falls, from the bird's height.
float scroll_speed();

// Moves the island down and with the wind; past the bottom it wraps to just
// above the top edge (picture_height scaled) at a random left edge.
void advance_island(int32_t picture_height);

// Moves a speck (three draws) and returns its alpha for this pass (a fourth).
float step_speck(TSpeck& speck, float v);
bool speck_gone(const TSpeck& speck);

// Moves a cloud (one draw).
void step_cloud(TCloud& cloud, float v);
bool cloud_gone(const TCloud& cloud);

// One in ten passes three specks appear along the top edge.
void maybe_spawn_specks();
void spawn_specks();

// One in twenty passes a cloud appears far above the screen.
void maybe_spawn_cloud();
void spawn_cloud();

} // namespace vantrel
