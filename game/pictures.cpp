// Loading the pictures, in the order that gives each its handle: the spark
// picture is loaded before automatic centring is switched on, so its handle
// stays at (0, 0); the island's is put back to (0, 0) by hand.
#include "game/pictures.h"

#include "game/asset_decoding.h"

namespace vantrel {

Ref<TImage> spark_image;
Ref<TImage> wing_image;
Ref<TImage> island_image;

namespace {

constexpr int32_t MASKED_FILTERED = IMAGE_MASKED | IMAGE_FILTERED;

// A masked load under the current mask colour.
Ref<TImage> load_masked(GamePicture picture)
{
    MaskColour mask;
    get_mask_colour(mask.red, mask.green, mask.blue);
    return load_image(picture_source(picture, mask), MASKED_FILTERED);
}

} // namespace

void load_pictures()
{
    set_mask_colour(0, 0, 0);
    spark_image = load_masked(GamePicture::Spark);
    set_auto_centre_handle(spark_image ? 1 : 0);
    set_mask_colour(255, 0, 255);
    wing_image = load_masked(GamePicture::Wing);
    set_mask_colour(255, 255, 255);
    island_image = load_masked(GamePicture::Island);
    set_image_handle(island_image, 0, 0);
}

} // namespace vantrel
