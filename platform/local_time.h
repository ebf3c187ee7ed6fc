// The wall clock in the local time zone, broken into its fields.
#pragma once

#include <cstdint>

namespace vantrel::platform {

struct LocalTime {
    int32_t year = 1970;
    int32_t month = 1; // 1..12
    int32_t day = 1;   // 1..31
    int32_t hour = 0, minute = 0, second = 0;
};

LocalTime local_time_now();

} // namespace vantrel::platform
