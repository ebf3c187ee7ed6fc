#include "mixer_pace.h"

#include <algorithm>

namespace vantrel::web {

int32_t MixerPace::owed(double now_ms) const
{
    const auto due = static_cast<int64_t>((now_ms - start_ms_) * RATE / 1000.0);
    const int64_t behind = due - mixed_;
    if (behind <= static_cast<int64_t>(SLACK_MS * RATE / 1000.0))
        return 0;
    return static_cast<int32_t>(std::min<int64_t>(behind, MOST_FRAMES));
}

} // namespace vantrel::web
