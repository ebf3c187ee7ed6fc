// Polled input: held keys, hit counts, typed characters, mouse buttons and
// position, and the suspended and close-request flags, kept up to date by a
// callback on the event hook.
//
// Every query pumps the window system first, so a game that only polls still
// sees its messages. The callback is on the hook only while the graphics
// window is open (start_input_polling / stop_input_polling); the queries then
// answer from the values last stored. Key codes are virtual-key codes 1..255,
// buttons 1 left, 2 right, 3 middle; anything else is ignored.
#pragma once

#include "core/object.h"

#include <cstdint>

namespace vantrel {

constexpr int32_t KEY_STATE_SIZE = 256;
constexpr int32_t BUTTON_STATE_SIZE = 4;
constexpr int32_t TYPED_CHAR_QUEUE_SIZE = 256;

// Turns the callback on, counting only events from source (null: all).
void start_input_polling(const Ref<TObject>& source);
void stop_input_polling();
bool input_polling_enabled();

int32_t take_key_hits(int32_t key);
int32_t key_held(int32_t key);
int32_t next_typed_char();
void clear_key_state();

int32_t button_hits(int32_t button);
int32_t button_held(int32_t button);
int32_t pointer_x();
int32_t pointer_y();
int32_t wheel_pos();
void clear_button_state();

int32_t wait_any_key();
int32_t wait_typed_char();
int32_t wait_any_button();

// Returns whether a close request arrived since the last call, and forgets it.
int32_t app_terminate_requested();
int32_t app_suspended();

void set_pointer_pos(int32_t x, int32_t y);
void show_pointer();
void hide_pointer();

} // namespace vantrel
