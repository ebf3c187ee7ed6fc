#include "game/asset_decoding.h"

#include "assets/pixmap.h"
#include "assets/pixmap_loader.h"
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

struct DecodedAssets {
    Ref<TPixmap> pictures[3];
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

DecodedAssets decode_all()
{
    DecodedAssets out;
    for (int i = 0; i < 3; ++i)
        out.pictures[i] =
            quietly<TPixmap>([&] { return decode_pixmap(Text(PICTURE_LOCATIONS[i])); });
    for (int n = 1; n <= 8; ++n)
        out.loops[n - 1] = quietly<TSoundAsset>([&] { return load_sound(loop_location(n), 0); });
    return out;
}

// A process that exits while the worker runs waits for it in the future's
// destructor, before the registries it reads are destroyed: they were made
// before this, so they go after it.
struct Decoding {
    std::future<DecodedAssets> pending;
    DecodedAssets ready;
    bool started = false;

    DecodedAssets& result()
    {
        if (pending.valid())
            ready = pending.get();
        return ready;
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
        d.pending = std::async(std::launch::async, decode_all);
    } catch (const std::system_error&) {
    }
}

Ref<TObject> picture_source(GamePicture picture)
{
    const int i = static_cast<int>(picture);
    if (Ref<TPixmap> decoded = std::move(decoding().result().pictures[i]))
        return decoded;
    return Ref<TObject>(Text(PICTURE_LOCATIONS[i]).object());
}

Ref<TSoundAsset> load_music_loop(int32_t n)
{
    if (Ref<TSoundAsset> made = std::move(decoding().result().loops[n - 1]))
        return made;
    return load_sound(loop_location(n), 0);
}

} // namespace vantrel
