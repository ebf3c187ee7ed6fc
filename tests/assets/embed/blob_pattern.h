// The byte at each offset of a generated test blob: a hash of the offset and
// the blob's seed, so that a misplaced, shifted or truncated blob cannot
// pass for the right one.
#pragma once

#include <cstdint>

namespace vantrel::embed_test {

inline uint8_t blob_byte(uint32_t seed, uint32_t offset)
{
    uint32_t x = offset * 2654435761u + seed * 40503u + 1;
    x ^= x >> 13;
    x *= 0x5BD1E995u;
    x ^= x >> 15;
    return static_cast<uint8_t>(x);
}

} // namespace vantrel::embed_test
