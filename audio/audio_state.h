// Everything the audio layer keeps between calls, in one record: the output
// device and its channel table, the decoder of streamed music, the back end
// that sounds are made by, and the sample loaders. The free functions of
// audio/ are thin wrappers over it. reset() shuts the device down and puts the record back as it is at
// program load; the exit action, once registered, stays registered.
#pragma once

#include "audio/channel_table.h"
#include "audio/mixer/ringdevice.h"
#include "audio/sample_loader.h"
#include "audio/stream_decoder.h"
#include "audio/stream_reader.h"
#include "audio/sound_asset.h"
#include "core/newest_first.h"

#include <memory>
#include <vector>

namespace vantrel {

struct AudioState {
    std::unique_ptr<ringdevice> device;
    std::unique_ptr<channel_table> channels;
    std::unique_ptr<stream_decoder> decoder; // streamed music, made on its first play
    bool failed = false;          // no output at start-up: not probed again
    bool exit_registered = false; // once per process, like the action
    Ref<TAudioBackend> backend = make_ref<TAudioBackend>();
    NewestFirst<TSampleLoader, &TSampleLoader::next> loaders;
    bool loaders_registered = false;
    // Streamed formats beyond WAV, asked in order (Ogg Vorbis, when its
    // library is started). Filled at start-up, before anything plays.
    std::vector<stream_reader_opener> stream_readers;

    void reset();
};

AudioState& audio_state();

} // namespace vantrel
