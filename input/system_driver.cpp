// The system driver over a platform message pump, the re-entry guarded pump
// and the window procedures that claim messages.
#include "input/system_driver.h"

#include "input/events.h"
#include "input/gamepad_events.h"
#include "input/input_state.h"
#include "input/keycodes.h"
#include "input/mouse_tracking.h"
#include "input/polled_input.h"
#include "input/timer.h"
#include "platform/process.h"

#include <algorithm>
#include <vector>

namespace vantrel {
namespace {

SystemDriverState& driver_state() { return input_state().system; }

// Set while a poll or wait runs; cleared however it ends.
struct BusyGuard {
    BusyGuard() { driver_state().busy = true; }
    ~BusyGuard() { driver_state().busy = false; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;
};

platform::MessagePump& message_pump()
{
    platform::MessagePump* pump = driver_state().override_pump;
    return pump ? *pump : platform::system_message_pump();
}

bool is_modifier_key(int32_t key)
{
    return (key >= KEY_LSHIFT && key <= KEY_RALT) || key == KEY_LSYS || key == KEY_RSYS;
}

void dispatch(const platform::OSMessage& message)
{
    const bool key_message = message.kind == platform::MessageKind::KeyDown ||
                             message.kind == platform::MessageKind::KeyUp;
    // Only a modifier key's own message changes the bits events carry.
    if (key_message && is_modifier_key(message.key))
        driver_state().modifiers = message.mods;
    // Pads belong to no window.
    if (send_gamepad_event(message))
        return;
    // A copy, so a procedure may add or remove procedures.
    const std::vector<TWindowProcedure> claimants = driver_state().procedures;
    for (TWindowProcedure procedure : claimants)
        if (procedure(message))
            return;
}

// SIGINT or SIGHUP: a close request for the game's window. It waits until
// the window is open and someone reads close requests.
void deliver_quit_signal()
{
    if (!input_polling_enabled() || !platform::take_quit_signal())
        return;
    platform::OSMessage close;
    close.kind = platform::MessageKind::Close;
    send_os_event(close, nullptr);
}

class TSDLDesktopDriver final : public TDesktopDriver {
public:
    void poll() override
    {
        platform::OSMessage message;
        while (message_pump().poll(message))
            dispatch(message);
        deliver_quit_signal();
        deliver_timer_ticks();
    }
    void wait() override
    {
        message_pump().wait();
        poll();
    }
    void set_pointer_pos(int32_t x, int32_t y) override { platform::warp_pointer(x, y); }
    void set_mouse_visible(int32_t visible) override
    {
        set_pointer_visible_flag(visible != 0);
    }
};

} // namespace

void system_driver_init()
{
    if (driver_state().driver)
        return;
    driver_state().driver = make_ref<TSDLDesktopDriver>();
    set_pointer_visible_flag(true);
    set_system_poll(&pump_messages);
    set_system_wait(&wait_messages);
}

Ref<TDesktopDriver> system_driver() { return driver_state().driver; }

void set_message_pump(platform::MessagePump* pump) { driver_state().override_pump = pump; }

void pump_messages()
{
    SystemDriverState& s = driver_state();
    if (s.busy || !s.driver)
        return;
    BusyGuard guard;
    s.driver->poll();
}

void wait_messages()
{
    SystemDriverState& s = driver_state();
    if (s.busy || !s.driver)
        return;
    BusyGuard guard;
    s.driver->wait();
}

void add_window_procedure(TWindowProcedure procedure)
{
    std::vector<TWindowProcedure>& procedures = driver_state().procedures;
    if (std::find(procedures.begin(), procedures.end(), procedure) == procedures.end())
        procedures.push_back(procedure);
}

void remove_window_procedure(TWindowProcedure procedure)
{
    std::erase(driver_state().procedures, procedure);
}

int32_t current_modifiers() { return driver_state().modifiers; }

} // namespace vantrel
