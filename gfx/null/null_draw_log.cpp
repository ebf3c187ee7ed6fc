// NullDrawLog's queries.
#include "gfx/null/null_draw_log.h"

#include <algorithm>
#include <iterator>

namespace vantrel {

int NullDrawLog::count(NullOp op) const
{
    return static_cast<int>(
        std::count_if(calls_.begin(), calls_.end(), [op](const NullCall& c) { return c.op == op; }));
}

std::vector<NullCall> NullDrawLog::shapes() const
{
    std::vector<NullCall> out;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(out),
                 [](const NullCall& c) { return c.op == NullOp::Shape; });
    return out;
}

} // namespace vantrel
