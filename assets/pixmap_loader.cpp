// The pixmap loader list and decode_pixmap.
#include "assets/pixmap_loader.h"

#include <algorithm>
#include <forward_list>

namespace vantrel {

namespace {

// Newest first. Adding at the front leaves a walk in progress valid, so a
// loader may register another while decode_pixmap runs.
std::forward_list<Ref<TPixmapDecoder>>& loaders()
{
    static std::forward_list<Ref<TPixmapDecoder>> list;
    return list;
}

// Offers the stream to each loader, newest first, from the same start.
Ref<TPixmap> try_loaders(const Ref<TByteStream>& stream, int32_t start)
{
    for (const Ref<TPixmapDecoder>& loader : loaders()) {
        stream->seek(start);
        try {
            if (Ref<TPixmap> result = loader->load(stream))
                return result;
        } catch (const TStreamError&) {
            // Data cut short or unreadable: not this loader's picture.
        }
    }
    return {};
}

} // namespace

void register_pixmap_loader(const Ref<TPixmapDecoder>& loader)
{
    auto& list = loaders();
    if (loader && std::find(list.begin(), list.end(), loader) == list.end())
        list.push_front(loader);
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
