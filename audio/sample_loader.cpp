// The sample loader list.
#include "audio/sample_loader.h"

#include "audio/audio_state.h"
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

Ref<TSampleBuffer> load_sample_buffer(const Ref<TObject>& location)
{
    const Ref<TByteStream> stream = read_stream(location);
    if (!stream)
        return {};
    const int32_t start = stream->pos();
    if (start < 0)
        raise_error(u"Stream is not seekable");
    Ref<TSampleBuffer> result =
        loaders().first_answer([&](const Ref<TSampleLoader>& loader) -> Ref<TSampleBuffer> {
            stream->seek(start);
            try {
                return loader->load(stream);
            } catch (const TStreamError&) {
                return {}; // cut short or unreadable: not this loader's data
            }
        });
    stream->close();
    return result;
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
