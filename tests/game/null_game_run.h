// Runs the real game on the null backend inside a test: the start-up
// sequence with null_backend_init in place of the OpenGL backend, then the
// same main_loop the program runs, under a manual clock (frames are paced by
// sleeps that only move the test's clock). The null renderer's log keeps
// every call from the start-up on, so each frame can be read back as the
// calls it made. A callback on the graphics layer's flip hook runs, in each
// frame after its drawing and before it is shown, the actions scripted for
// it; keys come through the null window system's pump. No display, no
// OpenGL.
#pragma once

#include "core/object.h"
#include "gfx/null/null_draw_log.h"
#include "platform/manual_clock.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace vantrel::test {

// One frame in the log: the calls from its clear to its flip, both included.
struct NullFrame {
    size_t begin = 0, end = 0; // end is one past the flip
};

// Resets the game state and the generator, empties the null renderer's log
// and runs the start-up sequence on the null backend. One per test; the
// window closes with it.
class NullGameRun {
public:
    explicit NullGameRun(uint32_t start_ms = 100000);
    ~NullGameRun();
    NullGameRun(const NullGameRun&) = delete;
    NullGameRun& operator=(const NullGameRun&) = delete;

    // Runs action in the flip of frame n (1 is the first pass's frame).
    void at_frame(int n, std::function<void()> action);
    // Runs action in every frame's flip, before the scripted ones (which
    // may change what the next frames draw).
    void every_frame(std::function<void(int frame)> action);
    // Key messages for the game's window, by virtual-key code.
    void press(int32_t key);
    void release(int32_t key);
    // Taps Escape in frame n, so the game runs exactly n passes.
    void end_after(int n);

    // The game's own main_loop; afterwards frames() holds what each pass drew.
    int32_t run();

    // Every renderer call since the start-up began.
    const std::vector<NullCall>& calls() const;
    // Where main_loop's own calls begin in calls().
    size_t loop_start() const { return loop_start_; }
    const std::vector<NullFrame>& frames() const { return frames_; }

    platform::ManualClock clock;

private:
    void on_flip();
    static Ref<TObject> flip_callback(int32_t id, const Ref<TObject>& data,
                                      const Ref<TObject>& context);
    void push_key(int32_t key, bool down);
    void split_frames();

    std::optional<platform::ScopedClock> scoped_clock_;
    Ref<TObject> hook_context_;
    std::multimap<int, std::function<void()>> scripted_;
    std::vector<std::function<void(int)>> every_;
    int frame_count_ = 0;
    size_t loop_start_ = 0;
    std::vector<NullFrame> frames_;
};

} // namespace vantrel::test
