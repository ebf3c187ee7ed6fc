// What the process start-up of every system shares: the quit request.
#include "platform/process.h"

#include "platform/platform_state.h"
#include "platform/quit_request.h"

namespace vantrel::platform {
namespace {

std::atomic<int>& quit_signal() { return platform_state().quit_signal; }
std::atomic<bool>& quit_handlers_installed() { return platform_state().quit_handlers_installed; }

} // namespace

void arm_quit_requests()
{
    // The window-system backend reads this before it starts anything that
    // would install handlers of its own over ours.
    quit_handlers_installed().store(true);
    quit_signal().store(0);
}

bool note_quit_request() { return quit_signal().exchange(1) == 0; }

bool quit_signal_handlers_installed() { return quit_handlers_installed().load(); }

bool take_quit_signal() { return quit_signal().exchange(0) != 0; }

} // namespace vantrel::platform
