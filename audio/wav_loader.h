// The WAV loader: RIFF WAVE files of uncompressed PCM, 8 or 16 bits, mono or
// stereo, with the format chunk directly after "WAVE".
#pragma once

#include "audio/sample_loader.h"

namespace vantrel {

class TWavLoader final : public TSampleLoader {
public:
    Ref<TSampleBuffer> load(const Ref<TByteStream>& stream) override;
};

} // namespace vantrel
