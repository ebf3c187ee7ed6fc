#include "platform/platform_state.h"

namespace vantrel::platform {
namespace {

constinit PlatformState state;

} // namespace

PlatformState& platform_state() { return state; }

void PlatformState::reset()
{
    backend = nullptr;
    clock.store(nullptr);
    quit_signal.store(0);
}

} // namespace vantrel::platform
