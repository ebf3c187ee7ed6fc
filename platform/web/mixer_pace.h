// Keeping the mixer's time while the page plays no sound.
//
// The page's sound starts only after the player's first key or click (the
// browser's rule), and stops in some background tabs; the game meanwhile
// starts a music cycle every 16 s. Unmixed, those sounds would wait in the
// mixer and all start together once sound comes. So the host mixes and drops
// what the browser has not asked for, and the music that starts is the cycle
// playing now, from where it is now.
#pragma once

#include <cstdint>

namespace vantrel::web {

class MixerPace {
public:
    static constexpr int32_t RATE = 44100;
    // How far the browser's callback may trail the clock before the host
    // mixes in its place: well over the callback's own buffering.
    static constexpr double SLACK_MS = 200.0;
    // The most mixed in one frame, so a long stop costs a few frames, not one
    // long one.
    static constexpr int32_t MOST_FRAMES = RATE / 2;

    explicit MixerPace(double now_ms) : start_ms_(now_ms) {}

    // The mixer gave this many frames (to the browser or to be dropped).
    void mixed(int64_t frames) { mixed_ += frames; }
    // Frames to mix and drop now: what the mixer trails the clock by, once
    // that is more than the slack; 0 otherwise.
    int32_t owed(double now_ms) const;

private:
    double start_ms_;
    int64_t mixed_ = 0;
};

} // namespace vantrel::web
