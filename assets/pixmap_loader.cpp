// The pixmap loader list and decode_pixmap.
#include "assets/pixmap_loader.h"

#include "assets/assets_state.h"

namespace vantrel {

namespace {

// A loader may register another while decode_pixmap runs.
NewestFirst<TPixmapDecoder>& loaders() { return assets_state().pixmap_loaders; }

// Offers the stream to each loader, newest first, from the same start.
Ref<TPixmap> try_loaders(const Ref<TByteStream>& stream, int32_t start)
{
    return loaders().first_answer([&](const Ref<TPixmapDecoder>& loader) -> Ref<TPixmap> {
        stream->seek(start);
        try {
            return loader->load(stream);
        } catch (const TStreamError&) {
            return {}; // data cut short or unreadable: not this loader's picture
        }
    });
}

} // namespace

void register_pixmap_loader(const Ref<TPixmapDecoder>& loader)
{
    loaders().add(loader);
}

Ref<TPixmap> decode_pixmap(const Ref<TObject>& location)
{
    const Ref<TByteStream> stream = read_stream(location);
    if (!stream)
        return {};
    const int32_t start = stream->pos();
    Ref<TPixmap> result;
    if (start >= 0)
        result = try_loaders(stream, start);
    stream->close();
    return result;
}

Ref<TPixmap> decode_pixmap(const Text& location)
{
    return decode_pixmap(Ref<TObject>(location.object()));
}

} // namespace vantrel
