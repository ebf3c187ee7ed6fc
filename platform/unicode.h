// Conversions between UTF-8 (the window system's strings) and UTF-16 (the
// engine's texts). Malformed input becomes U+FFFD rather than failing.
#pragma once

#include <string>
#include <string_view>

namespace vantrel::platform {

std::u16string utf16_from_utf8(std::string_view utf8);
std::string utf8_from_utf16(std::u16string_view utf16);

} // namespace vantrel::platform
