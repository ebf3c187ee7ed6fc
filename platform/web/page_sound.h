// The page's sound: SDL's browser audio at 44100 Hz stereo, 16-bit, filled
// by the mixer from SDL's callback. When the browser plays at another rate
// (48000 Hz is common) SDL converts; the mixer always makes 44100 Hz.
#pragma once

#include "mixer_pace.h"

#include <cstdint>
#include <vector>

namespace vantrel::web {

class PageSound {
public:
    explicit PageSound(double now_ms) : pace_(now_ms) {}
    ~PageSound() { close(); }
    PageSound(const PageSound&) = delete;
    PageSound& operator=(const PageSound&) = delete;

    // Opens the browser's output, which may stay silent until the player's
    // first gesture; false when the page has no audio.
    bool open();
    // Mixes and drops what the browser did not take (mixer_pace.h).
    void keep_up(double now_ms);
    void close();

private:
    static void fill(void* user, uint8_t* stream, int length);

    MixerPace pace_;
    uint32_t device_ = 0;
    std::vector<int16_t> dropped_;
};

} // namespace vantrel::web
