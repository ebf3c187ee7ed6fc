// audiodevice: what the sound layer needs of an output device.
#pragma once

#include <cstdint>

namespace vantrel {

class audiodevice {
public:
    audiodevice() = default;
    audiodevice(const audiodevice&) = delete;
    audiodevice& operator=(const audiodevice&) = delete;
    virtual ~audiodevice() = default;

    // 0 when the device is open and playing, non-zero when opening failed.
    virtual int32_t init() = 0;
    // Stops and releases the output.
    virtual void close() = 0;
};

} // namespace vantrel
