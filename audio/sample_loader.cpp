// The sample loader list.
#include "audio/sample_loader.h"

#include "audio/audio_state.h"
#include "audio/deferred_loader.h"
#include "audio/wav_chunk_loader.h"
#include "audio/wav_loader.h"
#include "core/error.h"

namespace vantrel {
namespace {

NewestFirst<TSampleLoader, &TSampleLoader::next>& loaders() { return audio_state().loaders; }

} // namespace

Ref<TSampleBuffer> TSampleLoader::load(const Ref<TByteStream>&)
{
    raise_error(u"Attempt to call abstract method");
}

void register_sample_loader(const Ref<TSampleLoader>& loader)
{
    loaders().add(loader);
}

Ref<TSampleLoader> first_sample_loader() { return loaders().first(); }

namespace {

// Offers the location's data to each loader in turn; with `defer`, a
// deferred_loader is asked for a reader first.
LoadedOrDeferred load_from(const Ref<TObject>& location, bool defer)
{
    LoadedOrDeferred result;
    const Ref<TByteStream> stream = read_stream(location);
    if (!stream)
        return result;
    const int32_t start = stream->pos();
    if (start < 0)
        raise_error(u"Stream is not seekable");
    loaders().first_answer([&](const Ref<TSampleLoader>& loader) {
        // A stream error, cut short or unreadable data, means "not this
        // loader's data".
        if (auto* deferring = defer ? dynamic_cast<deferred_loader*>(loader.get()) : nullptr) {
            stream->seek(start);
            try {
                result.reader = deferring->open_deferred(stream);
            } catch (const TStreamError&) {
            }
            if (result.reader)
                return true;
        }
        stream->seek(start);
        try {
            result.buffer = loader->load(stream);
        } catch (const TStreamError&) {
        }
        return static_cast<bool>(result.buffer);
    });
    if (!result.reader)
        stream->close();
    return result;
}

} // namespace

Ref<TSampleBuffer> load_sample_buffer(const Ref<TObject>& location)
{
    return load_from(location, false).buffer;
}

LoadedOrDeferred load_or_defer(const Ref<TObject>& location)
{
    return load_from(location, static_cast<bool>(ref_cast<TString>(location)));
}

Ref<TSampleBuffer> load_sample_buffer(const Text& location)
{
    return load_sample_buffer(Ref<TObject>(location.object()));
}

void sample_loaders_init()
{
    bool& done = audio_state().loaders_registered;
    if (done)
        return;
    done = true;
    // Newest first: WAV is tried first, then the second WAV reader. Ogg
    // Vorbis, a library of its own, joins at the tail (ogg_loader_init).
    register_sample_loader(make_ref<TWavChunkLoader>());
    register_sample_loader(make_ref<TWavLoader>());
}

} // namespace vantrel
