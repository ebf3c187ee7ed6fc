// Everything the platform layer keeps between calls, in one record: the
// registered window-system backend, the clock in use and the quit request
// of SIGINT and SIGHUP. The record is constant-initialised, so it exists
// before any code runs and a signal handler may touch its lock-free atomics.
// reset() puts it back as it is at program load; the signal handlers, once
// installed, stay installed for the life of the process, so that fact is
// kept.
#pragma once

#include "platform/backend.h"
#include "platform/clock_source.h"

#include <atomic>

namespace vantrel::platform {

struct PlatformState {
    const PlatformBackend* backend = nullptr;
    std::atomic<ClockSource*> clock{nullptr}; // null: the system clock
    std::atomic<int> quit_signal{0};
    std::atomic<bool> quit_handlers_installed{false};

    void reset();
};
static_assert(std::atomic<int>::is_always_lock_free);

PlatformState& platform_state();

} // namespace vantrel::platform
