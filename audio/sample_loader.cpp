// The sample loader list.
#include "audio/sample_loader.h"

#include "audio/wav_loader.h"
#include "core/error.h"

namespace vantrel {
namespace {

Ref<TSampleLoader>& head()
{
    static Ref<TSampleLoader> newest;
    return newest;
}

bool listed(const Ref<TSampleLoader>& loader)
{
    for (Ref<TSampleLoader> at = head(); at; at = at->next)
        if (at == loader)
            return true;
    return false;
}

} // namespace

Ref<TSampleBuffer> TSampleLoader::load(const Ref<TByteStream>&)
{
    raise_error(u"Attempt to call abstract method");
}

void register_sample_loader(const Ref<TSampleLoader>& loader)
{
    if (!loader || listed(loader))
        return;
    loader->next = head();
    head() = loader;
}

Ref<TSampleLoader> first_sample_loader() { return head(); }

Ref<TSampleBuffer> load_sample_buffer(const Ref<TObject>& location)
{
    const Ref<TByteStream> stream = read_stream(location);
    if (!stream)
        return {};
    const int32_t start = stream->pos();
    if (start < 0)
        raise_error(u"Stream is not seekable");
    Ref<TSampleBuffer> result;
    for (Ref<TSampleLoader> loader = head(); loader && !result; loader = loader->next) {
        stream->seek(start);
        try {
            result = loader->load(stream);
        } catch (const TStreamError&) {
            // Cut short or unreadable: not this loader's data.
        }
    }
    stream->close();
    return result;
}

Ref<TSampleBuffer> load_sample_buffer(const Text& location)
{
    return load_sample_buffer(Ref<TObject>(location.object()));
}

void sample_loaders_init()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    register_sample_loader(make_ref<TWavLoader>());
}

} // namespace vantrel
