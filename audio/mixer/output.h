// output: the settings interface shared by the mixer and its sounds.
//
// Rate is 16.16 fixed point (65536 plays a sample at its own speed); volume
// and pan are 4.12 (4096 is unity, pan -4096 full left to 4096 full right);
// surround only counts by its sign. `which` selects the current value (0) or
// the target the next block ramps to (1).
#pragma once

#include <cstdint>

namespace vantrel {

class output {
public:
    output() = default;
    output(const output&) = delete;
    output& operator=(const output&) = delete;
    virtual ~output() = default;

    virtual void set_rate(int32_t rate) = 0;
    virtual void set_volume(int16_t volume) = 0;
    virtual void set_pan(int16_t pan) = 0;
    virtual void set_surround(int16_t surround) = 0;
    virtual int32_t get_rate(int32_t which) const = 0;
    virtual int32_t get_volume(int32_t which) const = 0;
    virtual int32_t get_pan(int32_t which) const = 0;
    virtual int32_t get_surround(int32_t which) const = 0;
};

} // namespace vantrel
