// The device's output in a page: nothing. The page's sound is pulled from
// the mixer by SDL's callback (page_sound.h), so the ring the device keeps
// is never played; this output accepts it and reports a still cursor.
#pragma once

#include "platform/audio_output.h"

namespace vantrel::web {

class PulledOutput final : public platform::AudioOutput {
public:
    bool open(int32_t, int32_t, int32_t, const uint8_t*, uint32_t) override { return true; }
    bool submit() override { return true; }
    void reset() override {}
    bool position(uint32_t& bytes) override
    {
        bytes = 0;
        return true;
    }
    void set_written(uint32_t) override {}
    void close() override {}
    bool lost() override { return false; }
    bool reopen() override { return true; }
};

} // namespace vantrel::web
