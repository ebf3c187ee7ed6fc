// When a browser host runs the game's next pass.
//
// The desktop paces passes 16, 17, 17 ms apart by sleeping; a page cannot
// sleep, it is woken by animation frames at the display's rate. The same
// schedule becomes a row of deadlines: a frame runs one pass when the next
// deadline is (about) reached and none otherwise, so 120 or 144 Hz displays
// do not speed the bird up, and a pass is never run twice to catch up. After
// a long gap (the page was in a background tab) the schedule starts again
// from that frame instead of owing the passes it missed.
#pragma once

#include <cstdint>

namespace vantrel::web {

class PassSchedule {
public:
    // Frames that come this much before a deadline count as on time: frame
    // clocks jitter, and a 60 Hz frame 0.1 ms early must not wait a whole
    // frame more.
    static constexpr double EARLY_MS = 2.0;
    // A frame this late restarts the schedule.
    static constexpr double STALL_MS = 250.0;

    // The first pass is due at once.
    explicit PassSchedule(double now_ms) : next_(now_ms) {}

    // Whether a pass is due at now_ms; when it is, the next deadline is set.
    bool take(double now_ms);

    double next_deadline() const { return next_; }

private:
    double next_;
    int32_t remainder_ = 0; // the 1000 - 16 * 60 ms spread over the frames
};

} // namespace vantrel::web
