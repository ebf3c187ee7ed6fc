// Resetting the input layer's record: what a program set up, queued or
// holds is gone, and start-up runs again as in a fresh process.
#include "input/input_state.h"
#include "input/keycodes.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

int polls = 0;
void count_poll() { ++polls; }
bool claim_all(const platform::OSMessage&) { return true; }
Ref<TObject> pass(int32_t, const Ref<TObject>& data, const Ref<TObject>&) { return data; }

TEST(InputStateReset, EverythingSetUpIsForgottenAndStartUpRunsAgain)
{
    input_state().reset();
    events_init();
    const int32_t first_free = new_hook_id();
    ASSERT_EQ(first_free, EVENT_HOOK + 1);
    attach_hook(first_free, &pass, nullptr, 0);
    set_system_poll(&count_poll);
    add_window_procedure(&claim_all);
    start_input_polling(nullptr);
    send_event(new_event(EVENT_KEY_DOWN, nullptr, KEY_A, 0, 0, 0, nullptr));
    send_event(new_event(EVENT_MOUSE_MOVE, nullptr, 0, 0, 40, 30, nullptr));
    ASSERT_EQ(key_held(KEY_A), 1);
    ASSERT_TRUE(peek_queued_event());

    input_state().reset();

    EXPECT_FALSE(input_polling_enabled());
    EXPECT_EQ(key_held(KEY_A), 0);
    EXPECT_EQ(pointer_x(), 0);
    polls = 0;
    EXPECT_FALSE(peek_queued_event()); // an empty queue, and no poll function to ask
    EXPECT_EQ(polls, 0);
    EXPECT_TRUE(input_state().system.procedures.empty());
    EXPECT_FALSE(system_driver());
    // The event system takes id 0 again, and the ids after it are free again.
    EXPECT_EQ(new_hook_id(), first_free);
    send_event(new_event(EVENT_KEY_DOWN, nullptr, KEY_RETURN, 0, 0, 0, nullptr));
    EXPECT_EQ(next_queued_event(), EVENT_KEY_DOWN); // queued by the re-attached event hook
}

TEST(InputStateReset, ReleasedObjectsMayCallBackIntoTheLayer)
{
    // A context whose destruction detaches hooks, as owners of hooks do.
    struct Owner final : TObject {
        ~Owner() override { detach_hook(EVENT_HOOK, &pass, nullptr); }
    };
    input_state().reset();
    events_init();
    attach_hook(EVENT_HOOK, &pass, make_ref<Owner>(), 0);
    input_state().reset();
    EXPECT_FALSE(input_polling_enabled());
}

} // namespace
} // namespace vantrel
