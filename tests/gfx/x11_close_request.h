// Sends a window the close request a window manager sends when its close box
// is clicked (WM_PROTOCOLS / WM_DELETE_WINDOW).
#pragma once

#include <cstdint>

namespace vantrel::testing {

bool send_close_request(uint64_t x11_window);

} // namespace vantrel::testing
