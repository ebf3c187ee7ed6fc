// The game's millisecond clock in a page.
//
// The desktop clock counts from system start, so the first pass finds more
// than 16 s gone and starts the music at once. A page's own clock counts from
// the page's opening and would hold the music back for 16 s; this one counts
// from the epoch at the page's time origin, moves as steadily as the page's
// clock, and is truncated to 32 bits like the desktop's.
#pragma once

#include "platform/clock_source.h"

namespace vantrel::web {

// Milliseconds of the page's clock (performance.now()), for frame deadlines.
double page_now_ms();

class PageClock final : public platform::ClockSource {
public:
    uint32_t now_ms() override;
    // Nothing in a hosted game sleeps; a page cannot, so this waits busily.
    void sleep_ms(int32_t ms) override;
};

} // namespace vantrel::web
