#include "input/date_time.h"

#include "platform/local_time.h"

#include <cstdio>

namespace vantrel {
namespace {

constexpr const char* month_names[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

} // namespace

Text format_date(int32_t year, int32_t month, int32_t day)
{
    const char* name = month >= 1 && month <= 12 ? month_names[month - 1] : "???";
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%02d %s %d", static_cast<int>(day), name,
                  static_cast<int>(year));
    return Text::from_bytes(buffer);
}

Text format_time(int32_t hour, int32_t minute, int32_t second)
{
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", static_cast<int>(hour),
                  static_cast<int>(minute), static_cast<int>(second));
    return Text::from_bytes(buffer);
}

Text current_date()
{
    const platform::LocalTime now = platform::local_time_now();
    return format_date(now.year, now.month, now.day);
}

Text current_time()
{
    const platform::LocalTime now = platform::local_time_now();
    return format_time(now.hour, now.minute, now.second);
}

} // namespace vantrel
