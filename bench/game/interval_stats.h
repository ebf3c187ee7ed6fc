// The distribution of frame intervals, printed the same way by every tool
// that times a game's frames: the count, mean, percentiles and the share
// over 17.5 ms, the mark of a frame shown a refresh late at 60 Hz.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <vector>

namespace vantrel::bench {

inline double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(p * static_cast<double>(v.size() - 1))];
}

// "<label>: N, mean ..., p50 ..., p90 ..., p99 ..., max ...; over 17.5 ms: ...".
inline void print_intervals(const char* label, const std::vector<double>& ms)
{
    if (ms.size() < 2)
        return;
    double sum = 0;
    size_t late = 0;
    for (double iv : ms) {
        sum += iv;
        late += iv > 17.5;
    }
    const double n = static_cast<double>(ms.size());
    std::fprintf(stderr,
                 "%s: %zu, mean %.3f ms, p50 %.3f, p90 %.3f, p99 %.3f, max %.3f; "
                 "over 17.5 ms: %zu (%.2f %%)\n",
                 label, ms.size(), sum / n, percentile(ms, 0.5), percentile(ms, 0.9),
                 percentile(ms, 0.99), percentile(ms, 1.0), late, 100.0 * late / n);
}

} // namespace vantrel::bench
