// Time source: a millisecond counter and a sleep, replaceable for tests.
//
// The system source reads the monotonic clock, truncated to 32 bits so that
// intervals are taken by wrap-safe subtraction. Tests install their own source
// to step frame pacing, the mixer's start delay and whole game runs without
// waiting in real time. The source may be read from any thread.
#pragma once

#include <cstdint>

namespace vantrel::platform {

class ClockSource {
public:
    virtual ~ClockSource() = default;
    virtual uint32_t now_ms() = 0;
    virtual void sleep_ms(int32_t ms) = 0;
};

// The source in use; the system clock unless one was installed.
ClockSource& clock_source();

// Installs a source (not owned; it must outlive its use). nullptr puts the
// system clock back.
void set_clock_source(ClockSource* source);

// Microseconds of the monotonic clock, for benchmarks and fine pacing.
uint64_t monotonic_us();

} // namespace vantrel::platform
