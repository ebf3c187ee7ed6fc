#include "platform/local_time.h"

#include <ctime>

namespace vantrel::platform {

LocalTime local_time_now()
{
    const std::time_t now = std::time(nullptr);
    std::tm fields{};
#ifdef _WIN32
    if (localtime_s(&fields, &now) != 0)
        return {};
#else
    if (!localtime_r(&now, &fields))
        return {};
#endif
    LocalTime t;
    t.year = fields.tm_year + 1900;
    t.month = fields.tm_mon + 1;
    t.day = fields.tm_mday;
    t.hour = fields.tm_hour;
    t.minute = fields.tm_min;
    t.second = fields.tm_sec;
    return t;
}

} // namespace vantrel::platform
