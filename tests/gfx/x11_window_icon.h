// Reads the icon a window gave the window manager (_NET_WM_ICON).
#pragma once

#include <cstdint>
#include <vector>

namespace vantrel::testing {

// The property's 32-bit cardinals (width, height, then one ARGB value per
// pixel, rows top first), or empty when the window has none. Waits up to a
// second for a property set by another connection to arrive.
std::vector<uint32_t> window_icon_property(uint64_t x11_window);

} // namespace vantrel::testing
