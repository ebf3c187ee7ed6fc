// Opening a location for streamed playback: WAV first, as loading does.
#include "audio/stream_reader.h"

#include "audio/audio_state.h"
#include "audio/stream_cursor.h"
#include "core/error.h"

namespace vantrel {

std::unique_ptr<stream_reader> open_stream_reader(const Ref<TObject>& location)
{
    Ref<TByteStream> stream;
    if (Ref<TStreamCursor> anchor = ref_cast<TStreamCursor>(location))
        stream = anchor->fresh();
    else if (Ref<TByteStream> open = ref_cast<TByteStream>(location))
        stream = open->pos() < 0 ? open : Ref<TByteStream>(make_ref<TStreamCursor>(open));
    else
        stream = read_stream(location);
    if (!stream)
        return {};
    const int32_t start = stream->pos();
    if (start < 0)
        raise_error(u"Stream is not seekable");
    try {
        if (auto reader = open_wav_reader(stream))
            return reader;
        for (stream_reader_opener open : audio_state().stream_readers) {
            stream->seek(start);
            if (auto reader = open(stream))
                return reader;
        }
    } catch (const TStreamError&) {
        // cut short or unreadable: nothing to play
    }
    return {};
}

} // namespace vantrel
