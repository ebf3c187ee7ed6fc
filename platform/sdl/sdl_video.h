// Shared state of the SDL video binding: starting video and the last error.
#pragma once

#include <string>

namespace vantrel::platform::sdl {

// Starts SDL's video subsystem once. Without SDL_VIDEODRIVER the drivers are
// tried in SDL's order, skipping those whose windows nobody can see. False
// (with the reason in last_error) when no driver starts.
bool start_video();

// Records a failure: what went wrong, then SDL's own message when it has one.
void fail(const std::string& what);
void fail_with_sdl(const std::string& what);

} // namespace vantrel::platform::sdl
