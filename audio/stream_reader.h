// Readers that decode a sound a run of frames at a time, for streamed
// playback: WAV (the second WAV reader's formats) and, where the build has
// it, Ogg Vorbis.
//
// Opening reads and checks the header on the caller's thread; from then on a
// reader is used by one thread at a time (the decoder's). Frames come in the
// format a whole load of the same file gives, so a streamed sound plays the
// frames load_sound would.
#pragma once

#include "assets/stream.h"
#include "audio/sample_buffer.h"

#include <cstdint>
#include <memory>

namespace vantrel {

class stream_reader {
public:
    virtual ~stream_reader() = default;

    // Up to `frames` frames (at least 1) into `out`. 0 at the clean end of
    // the data; -1 when it cannot go on: the data was cut short or is damaged
    // there, or the stream failed. Never raises.
    virtual int32_t read(uint8_t* out, int32_t frames) = 0;
    // Back to the first frame; false when that cannot be done.
    virtual bool rewind() = 0;

    int32_t format = SAMPLE_NONE; // SAMPLE_MONO8 ... SAMPLE_STEREO16_LE
    int32_t hertz = 0;
    int64_t total_frames = -1; // how many the data holds, where the opener could tell
};

// A reader over `location` (a text or an open stream; an open stream is read
// through a cursor of its own, so several readers may share it; a cursor
// stands for its stream from the cursor's start), or nullptr
// when it does not open or is not a whole WAV or Ogg Vorbis file: the data
// must be all there, and must hold at least one frame. A stream that cannot
// tell its position raises "Stream is not seekable"; errors other than
// stream errors reach the caller.
std::unique_ptr<stream_reader> open_stream_reader(const Ref<TObject>& location);

// Each opener gives a reader, or nullptr for data that is not its format.
using stream_reader_opener = std::unique_ptr<stream_reader> (*)(const Ref<TByteStream>& stream);
std::unique_ptr<stream_reader> open_wav_reader(const Ref<TByteStream>& stream);
// In the Ogg Vorbis library; ogg_loader_init lists it.
std::unique_ptr<stream_reader> open_ogg_reader(const Ref<TByteStream>& stream);

} // namespace vantrel
