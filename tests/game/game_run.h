// Runs the real game inside a test: the start-up sequence, then the same
// main_loop the program runs, with an injected clock (frames are paced by
// sleeps that only move the test's clock) and key events pushed onto SDL's
// own queue, so they come through the real pump, the system driver, the
// hook chain and the polled input. A callback on the graphics layer's flip
// hook counts the frames, reads each one back from the back buffer before
// it is shown, and runs the actions scripted for that frame. Focus changes
// caused by other tests' windows on the same display are kept from the game.
#pragma once

#include "assets/pixmap.h"
#include "core/object.h"
#include "music_channels.h"
#include "platform/manual_clock.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace vantrel::test {

struct Rgb {
    int r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The pixel at (x, y) of a read-back frame (RGBA bytes, top row first).
Rgb pixel(const Ref<TPixmap>& frame, int32_t x, int32_t y);


// Asks GameRun to keep whatever clock is installed (timing programs).
struct KeepClock {};

// Asks GameRun to start the game for a host that calls one pass at a time.
struct Hosted {};

// Runs in every later GameRun's start-up just after the renderer's backend
// registers and before the engine selects its drivers (to put a decorator in
// front of the renderer); null for nothing.
void run_after_backend_init(void (*after)());

// Resets the game state and the generator, then runs the start-up sequence
// under a manual clock. One per test; the window closes with it.
class GameRun {
public:
    explicit GameRun(uint32_t start_ms = 100000);
    explicit GameRun(KeepClock);
    explicit GameRun(Hosted, uint32_t start_ms = 100000);
    ~GameRun();
    GameRun(const GameRun&) = delete;
    GameRun& operator=(const GameRun&) = delete;

    // Runs action in the flip of frame n (1 is the first pass's frame),
    // after the frame is read back and before it is shown.
    void at_frame(int n, std::function<void()> action);
    // Runs action in every frame's flip, after the scripted ones.
    void every_frame(std::function<void(int frame)> action);
    // Keeps the read-back of every frame (frames() then holds them).
    void keep_frames(bool keep) { keep_frames_ = keep; }
    // Off: no frame is read back (last_frame() stays null), so a long run
    // measures the game's memory, not a 1.2 MB read-back per pass.
    void read_back_frames(bool on) { read_back_ = on; }

    // Key events through SDL's queue, by scancode.
    void press(int32_t scancode);
    void release(int32_t scancode);
    void tap(int32_t scancode);
    void request_close();
    // Taps Escape in frame n, so the game runs exactly n passes.
    void end_after(int n);

    // The game's own main_loop.
    int32_t run();
    // One pass as a host calls it (after GameRun(Hosted)); false once the
    // game has ended.
    bool step();

    int frame_count() const { return frame_count_; }
    const std::vector<Ref<TPixmap>>& frames() const { return frames_; }
    const Ref<TPixmap>& last_frame() const { return last_frame_; }
    uint32_t window_id() const;

    platform::ManualClock clock;

private:
    void on_flip();
    static Ref<TObject> flip_callback(int32_t id, const Ref<TObject>& data,
                                      const Ref<TObject>& context);

    void start(bool hosted = false);

    std::optional<platform::ScopedClock> scoped_clock_;
    Ref<TObject> hook_context_;
    std::multimap<int, std::function<void()>> scripted_;
    std::vector<std::function<void(int)>> every_;
    bool keep_frames_ = false;
    bool read_back_ = true;
    int frame_count_ = 0;
    std::vector<Ref<TPixmap>> frames_;
    Ref<TPixmap> last_frame_;
};

// Climbs, glides to each side, zooms in and out, rests: the scripted flight
// of game_determinism_test (which keeps its own copy, as it is never edited),
// for the tests that fly it on other renderers.
void fly_scripted_flight(GameRun& game);

} // namespace vantrel::test
