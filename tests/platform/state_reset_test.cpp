// Resetting the platform record: the backend and the clock are forgotten and
// a pending quit request is dropped, but handlers once installed stay known.
#include "platform/manual_clock.h"
#include "platform/platform_state.h"
#include "platform/process.h"
#include "platform/quit_request.h"

#include <gtest/gtest.h>

namespace vantrel::platform {
namespace {

TEST(PlatformStateReset, ForgetsBackendClockAndRequestButNotTheHandlers)
{
    static const PlatformBackend backend{};
    ManualClock clock(5000);
    register_platform_backend(backend);
    set_clock_source(&clock);
    arm_quit_requests();
    ASSERT_TRUE(note_quit_request());
    ASSERT_EQ(clock_source().now_ms(), 5000u);

    platform_state().reset();

    EXPECT_EQ(platform_backend(), nullptr);
    EXPECT_NE(&clock_source(), static_cast<ClockSource*>(&clock));
    EXPECT_FALSE(take_quit_signal());
    EXPECT_TRUE(quit_signal_handlers_installed());
}

} // namespace
} // namespace vantrel::platform
