// The sample loader list and load_sample_buffer.
//
// Loaders are kept newest first; load_sample_buffer offers a stream to each
// from the same start and returns the first buffer made. A stream error
// inside a loader counts as "not mine"; every other error reaches the caller.
#pragma once

#include "assets/stream.h"
#include "audio/sample_buffer.h"
#include "core/object.h"
#include "core/text.h"

namespace vantrel {

class TSampleLoader : public TObject {
public:
    // A new buffer, or the null object when the data is not in this format.
    virtual Ref<TSampleBuffer> load(const Ref<TByteStream>& stream);

    Ref<TSampleLoader> next; // the loader registered before this one
};

// Puts a loader at the head of the list (once).
void register_sample_loader(const Ref<TSampleLoader>& loader);
// The newest loader, or the null object.
Ref<TSampleLoader> first_sample_loader();

// A location is a text ("incbin::name", a file path) or an open stream. The
// null object when it does not open or no loader decodes it; a stream that
// cannot tell its position raises "Stream is not seekable".
Ref<TSampleBuffer> load_sample_buffer(const Ref<TObject>& location);
Ref<TSampleBuffer> load_sample_buffer(const Text& location);

// Registers the built-in loaders once (Ogg Vorbis, the second WAV reader,
// then WAV, so that WAV is tried first and the second reader only on what it
// refuses); later calls do nothing.
void sample_loaders_init();

} // namespace vantrel
