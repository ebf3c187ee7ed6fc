// What the process start-up of every system shares: the quit request.
#include "platform/process.h"
#include "platform/quit_request.h"

#include <atomic>

namespace vantrel::platform {
namespace {

// Lock-free atomics may be used from a signal handler.
std::atomic<int> quit_signal{0};
static_assert(std::atomic<int>::is_always_lock_free);
std::atomic<bool> quit_handlers_installed{false};

} // namespace

void arm_quit_requests()
{
    // The window-system backend reads this before it starts anything that
    // would install handlers of its own over ours.
    quit_handlers_installed.store(true);
    quit_signal.store(0);
}

bool note_quit_request() { return quit_signal.exchange(1) == 0; }

bool quit_signal_handlers_installed() { return quit_handlers_installed.load(); }

bool take_quit_signal() { return quit_signal.exchange(0) != 0; }

} // namespace vantrel::platform
