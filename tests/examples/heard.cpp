#include "heard.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vantrel::test {

Channels read_disk_audio(const std::string& bytes, size_t first, size_t count)
{
    Channels out;
    for (size_t i = first; i < first + count && (i + 1) * 4 <= bytes.size(); ++i) {
        const auto* p = reinterpret_cast<const uint8_t*>(bytes.data() + 4 * i);
        out.left.push_back(static_cast<int16_t>(p[0] | p[1] << 8));
        out.right.push_back(static_cast<int16_t>(p[2] | p[3] << 8));
    }
    return out;
}

double strength(const std::vector<double>& samples, double hertz)
{
    if (samples.empty())
        return 0;
    const double k = 2 * std::cos(2 * 3.14159265358979 * hertz / 44100);
    double s1 = 0, s2 = 0;
    for (double v : samples) {
        const double s0 = v + k * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return std::sqrt(std::max(0.0, s1 * s1 + s2 * s2 - k * s1 * s2)) / samples.size();
}

} // namespace vantrel::test
