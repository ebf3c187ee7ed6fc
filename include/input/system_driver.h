// The system driver: pumps the window system's pending messages and turns
// each one into a TEvent emitted through the event hook.
//
// Messages come from a platform MessagePump (SDL's queue, or a scripted one
// in tests). Each goes to the window procedure that claims its window (the
// display driver installs one for its windows), which hands it to
// send_os_event before doing its own duties; messages of windows nobody
// claims are dropped. pump_messages is guarded against re-entry, so a query
// made by a hook callback during a pump does not pump again.
#pragma once

#include "core/object.h"
#include "platform/message_pump.h"

#include <cstdint>

namespace vantrel {

// Modifier bits of TEvent::mods: the window message's bits, passed through
// unchanged, so they are the platform's values under the engine's names.
constexpr int32_t MODIFIER_SHIFT = platform::MOD_SHIFT;
constexpr int32_t MODIFIER_CONTROL = platform::MOD_CONTROL;
constexpr int32_t MODIFIER_ALT = platform::MOD_ALT;
constexpr int32_t MODIFIER_SYSTEM = platform::MOD_SYSTEM;

// The abstract system driver.
class TDesktopDriver : public TObject {
public:
    // Takes every pending message off the queue and dispatches it.
    virtual void poll() = 0;
    // Blocks until a message arrives, then polls.
    virtual void wait() = 0;
    // Moves the pointer to client coordinates of the active window.
    virtual void set_pointer_pos(int32_t x, int32_t y) = 0;
    virtual void set_mouse_visible(int32_t visible) = 0;
};

// Creates the driver over the system pump and installs pump_messages as the
// event queue's system poll. Runs once; the events must be initialised first.
void system_driver_init();
Ref<TDesktopDriver> system_driver();

// Replaces the message source (tests pass a ScriptedPump); null restores the
// system pump. The pump is not owned.
void set_message_pump(platform::MessagePump* pump);

void pump_messages();
void wait_messages();

// A window procedure returns false for messages of windows it does not own.
using TWindowProcedure = bool (*)(const platform::OSMessage& message);
void add_window_procedure(TWindowProcedure procedure);
void remove_window_procedure(TWindowProcedure procedure);

// Translates one window message into events emitted from source.
void send_os_event(const platform::OSMessage& message, const Ref<TObject>& source);

// The modifier bits events carry now.
int32_t current_modifiers();

} // namespace vantrel
