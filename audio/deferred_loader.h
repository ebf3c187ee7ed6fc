// Loading a sound that is decoded as it plays.
//
// Where the mixer runs on the caller's own thread (a host pulls it, as the
// browser's page does), a sound decoded whole at load costs that thread all
// of its decoding before anything else can happen there. A loader whose
// format is costly to decode can hand out a reader instead, its length known
// at open: the mixer then decodes the same frames a little ahead of where it
// plays (mixsample.h).
#pragma once

#include "audio/sample_buffer.h"
#include "audio/stream_reader.h"
#include "core/object.h"

#include <memory>

namespace vantrel {

class deferred_loader {
public:
    // A reader at the first frame that gives the frames, format and rate the
    // loader's load of the same data gives, with `total_frames` set; nullptr when
    // it will not (the loader's load is asked then). Stream errors count as
    // "not mine", as in load.
    virtual std::unique_ptr<stream_reader> open_deferred(const Ref<TByteStream>& stream) = 0;

protected:
    ~deferred_loader() = default;
};

struct LoadedOrDeferred {
    Ref<TSampleBuffer> buffer;
    std::unique_ptr<stream_reader> reader; // owns its stream
};

// What load_sample_buffer(location) gives, except that where the loader that
// takes the data is a deferred_loader and `location` is a name or path (a
// stream of the loader's own, which no caller can move or close), its reader
// comes instead.
LoadedOrDeferred load_or_defer(const Ref<TObject>& location);

} // namespace vantrel
