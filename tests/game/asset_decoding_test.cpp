// The start-up worker's pictures and loops are the ones the game would have
// loaded by name, are given out once, and decoding them beside the main
// thread's own stream and decoder use is safe (this runs under
// ThreadSanitizer too).
#include "game/asset_decoding.h"

#include "assets/pixmap.h"
#include "assets/pixmap_loader.h"
#include "assets/pixmap_ops.h"
#include "assets/stream.h"
#include "audio/audio_system.h"
#include "audio/mixer/mixsample.h"
#include "audio/mixer_backend.h"
#include "audio/sample_loader.h"
#include "core/text.h"
#include "game/game_main.h"
#include "platform/null/null_platform.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vantrel {
namespace {

bool same_pixels(const Ref<TPixmap>& a, const Ref<TPixmap>& b)
{
    if (!a || !b || a->width != b->width || a->height != b->height || a->format != b->format)
        return false;
    const size_t row = static_cast<size_t>(a->width) * pixel_bytes(a->format);
    for (int32_t y = 0; y < a->height; ++y)
        if (std::memcmp(a->pixel_ptr(0, y), b->pixel_ptr(0, y), row) != 0)
            return false;
    return true;
}

TEST(AssetDecoding, WithoutTheWorkerTheAssetsLoadByName)
{
    register_game_assets();
    streams_init();
    pixmap_loaders_init();
    sample_loaders_init();
    platform::null_platform_init(); // an output that plays nowhere
    audio_init(); // the sounds are made for its mixer
    // Not started: the sources are the names, so loading reports errors as before.
    const Ref<TObject> spark =
        picture_source(GamePicture::Spark, game_picture_mask(GamePicture::Spark));
    ASSERT_TRUE(spark);
    EXPECT_FALSE(ref_cast<TPixmap>(spark));
    EXPECT_EQ(ref_cast<TString>(spark)->units(), u"incbin::spark.png");

    // What the worker does, on this thread and beside it at once.
    start_decoding_assets();
    const Ref<TPixmap> by_name[3] = {decode_pixmap(Text(u"incbin::spark.png")),
                                     decode_pixmap(Text(u"incbin::wing2.png")),
                                     decode_pixmap(Text(u"incbin::island.png"))};
    const Ref<TSampleBuffer> loop8 = load_sample_buffer(Text(u"incbin::sound8.wav"));

    // Under the game's mask colours the spark and the island come masked as
    // a masked load would mask them; the wing, asked for under another
    // colour, comes as decoded, for the load to mask.
    const GamePicture pictures[3] = {GamePicture::Spark, GamePicture::Wing, GamePicture::Island};
    const MaskColour masks[3] = {{0, 0, 0}, {255, 0, 255}, {255, 255, 255}};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(game_picture_mask(pictures[i]), masks[i]) << "picture " << i;
    const Ref<TPixmap> wing = ref_cast<TPixmap>(picture_source(GamePicture::Wing, {1, 2, 3}));
    ASSERT_TRUE(wing);
    EXPECT_TRUE(same_pixels(wing, by_name[1]));
    // Taken whole: the masked copy went with it.
    EXPECT_FALSE(ref_cast<TPixmap>(picture_source(GamePicture::Wing, masks[1])));
    for (int i : {0, 2}) {
        const Ref<TPixmap> masked = ref_cast<TPixmap>(picture_source(pictures[i], masks[i]));
        ASSERT_TRUE(masked) << "picture " << i;
        EXPECT_EQ(masked->format, FORMAT_RGBA32) << "picture " << i;
        EXPECT_TRUE(same_pixels(masked, apply_colour_key(by_name[i], masks[i].red,
                                                         masks[i].green, masks[i].blue)))
            << "picture " << i;
        // Given once; a second load goes by name.
        EXPECT_FALSE(ref_cast<TPixmap>(picture_source(pictures[i], masks[i]))) << "picture " << i;
    }

    for (int n = 1; n <= 8; ++n) {
        const Ref<TMixerSoundAsset> sound = ref_cast<TMixerSoundAsset>(load_music_loop(n));
        ASSERT_TRUE(sound) << "loop " << n;
        if (n == 8) {
            ASSERT_TRUE(loop8);
            EXPECT_EQ(sound->sample->frames, loop8->frames);
            EXPECT_EQ(std::memcmp(sound->sample->data, loop8->data,
                                  static_cast<size_t>(sound->sample->size)),
                      0);
        }
    }
    // A loop taken already loads again by name, as a new sound.
    EXPECT_TRUE(load_music_loop(3));
}

} // namespace
} // namespace vantrel
