// The local date and time as texts, for display.
#pragma once

#include "core/text.h"

#include <cstdint>

namespace vantrel {

// "10 Dec 2026": the day in two digits, the English month abbreviation
// whatever the locale, the year.
Text current_date();
// "14:05:09", on the 24-hour clock.
Text current_time();

// The same shapes for given fields; a month outside 1..12 gives "???".
Text format_date(int32_t year, int32_t month, int32_t day);
Text format_time(int32_t hour, int32_t minute, int32_t second);

} // namespace vantrel
