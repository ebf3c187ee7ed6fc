#include "game/asset_decoding.h"

#include "assets/pixmap.h"
#include "assets/pixmap_loader.h"
#include "assets/pixmap_ops.h"
#include "audio/audio.h"
#include "audio/sound_asset.h"
#include "core/text.h"

#include <future>
#include <string>
#include <system_error>

namespace vantrel {
namespace {

constexpr const char16_t* PICTURE_LOCATIONS[] = {u"incbin::spark.png", u"incbin::wing2.png",
                                                 u"incbin::island.png"};

constexpr MaskColour PICTURE_MASKS[] = {{0, 0, 0}, {255, 0, 255}, {255, 255, 255}};

struct DecodedPicture {
    Ref<TPixmap> decoded;
    Ref<TPixmap> masked; // with its PICTURE_MASKS colour
};

struct DecodedPictures {
    DecodedPicture pictures[3];
};

struct DecodedLoops {
    Ref<TSoundAsset> loops[8];
};

Text loop_location(int32_t n)
{
    return Text(u"incbin::sound" + std::u16string(1, static_cast<char16_t>(u'0' + n)) + u".wav");
}

// An asset that fails here is left null, so that the main thread's own
// attempt raises the error where the game expects it.
template <typename T, typename Decode>
Ref<T> quietly(Decode decode)
{
    try {
        return decode();
    } catch (...) {
        return {};
    }
}

DecodedPictures decode_pictures()
{
    DecodedPictures out;
    for (int i = 0; i < 3; ++i) {
        DecodedPicture& p = out.pictures[i];
        p.decoded = quietly<TPixmap>([&] { return decode_pixmap(Text(PICTURE_LOCATIONS[i])); });
        // The same keying a masked load does; pictures with alpha keep theirs.
        if (p.decoded && is_pixel_format(p.decoded->format) && ALPHA_BITS[p.decoded->format] == 0) {
            const MaskColour& m = PICTURE_MASKS[i];
            p.masked = quietly<TPixmap>(
                [&] { return apply_colour_key(p.decoded, m.red, m.green, m.blue); });
        }
    }
    return out;
}

// The pictures are handed over as soon as they are ready, the loops after
// them.
DecodedLoops decode_all(std::promise<DecodedPictures> pictures)
{
    pictures.set_value(decode_pictures());
    DecodedLoops out;
    for (int n = 1; n <= 8; ++n)
        out.loops[n - 1] = quietly<TSoundAsset>([&] { return load_sound(loop_location(n), 0); });
    return out;
}

// A process that exits while the worker runs waits for it in the loops'
// future's destructor, before the registries it reads are destroyed: they
// were made before this, so they go after it.
struct Decoding {
    std::future<DecodedPictures> pending_pictures;
    std::future<DecodedLoops> pending_loops;
    DecodedPictures pictures;
    DecodedLoops loops;
    bool started = false;

    DecodedPictures& picture_result()
    {
        if (pending_pictures.valid())
            pictures = pending_pictures.get();
        return pictures;
    }
    DecodedLoops& loop_result()
    {
        if (pending_loops.valid())
            loops = pending_loops.get();
        return loops;
    }
};

Decoding& decoding()
{
    static Decoding state;
    return state;
}

} // namespace

void start_decoding_assets()
{
    Decoding& d = decoding();
    if (d.started)
        return;
    d.started = true;
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
    // A browser build without threads has only stand-ins for them, under
    // which the future would wait for ever: each asset loads by name.
    return;
#endif
    // Where no thread can be started (a browser without threads, a process
    // at its limit), nothing is pending and each asset loads by name.
    try {
        std::promise<DecodedPictures> pictures;
        std::future<DecodedPictures> pictures_ready = pictures.get_future();
        d.pending_loops = std::async(std::launch::async, decode_all, std::move(pictures));
        d.pending_pictures = std::move(pictures_ready);
    } catch (const std::system_error&) {
    }
}

MaskColour game_picture_mask(GamePicture picture)
{
    return PICTURE_MASKS[static_cast<int>(picture)];
}

Ref<TObject> picture_source(GamePicture picture, const MaskColour& mask)
{
    const int i = static_cast<int>(picture);
    DecodedPicture& p = decoding().picture_result().pictures[i];
    Ref<TPixmap> decoded = std::move(p.decoded);
    Ref<TPixmap> masked = std::move(p.masked);
    if (masked && mask == PICTURE_MASKS[i])
        return masked;
    if (decoded)
        return decoded;
    return Ref<TObject>(Text(PICTURE_LOCATIONS[i]).object());
}

Ref<TSoundAsset> load_music_loop(int32_t n)
{
    if (Ref<TSoundAsset> made = std::move(decoding().loop_result().loops[n - 1]))
        return made;
    return load_sound(loop_location(n), 0);
}

} // namespace vantrel
