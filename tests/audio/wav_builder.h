// Builds WAV files in memory for the loader tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace vantrel::test {

class WavBuilder {
public:
    WavBuilder& tag(const std::string& t)
    {
        bytes.insert(bytes.end(), t.begin(), t.end());
        return *this;
    }
    WavBuilder& u32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
        return *this;
    }
    WavBuilder& u16(uint32_t v)
    {
        bytes.push_back(static_cast<uint8_t>(v));
        bytes.push_back(static_cast<uint8_t>(v >> 8));
        return *this;
    }
    WavBuilder& raw(const std::vector<uint8_t>& b)
    {
        bytes.insert(bytes.end(), b.begin(), b.end());
        return *this;
    }
    WavBuilder& chunk(const std::string& t, const std::vector<uint8_t>& body)
    {
        return tag(t).u32(static_cast<uint32_t>(body.size())).raw(body);
    }
    // "RIFF", size, "WAVE", then a format chunk that claims `fmt_size` bytes.
    // At most 64 bytes of it are written, so a hostile claim stays a claim.
    WavBuilder& header(uint32_t channels, uint32_t hertz, uint32_t bits, uint32_t format_tag = 1,
                       uint32_t fmt_size = 16)
    {
        tag("RIFF").u32(0).tag("WAVE").tag("fmt ").u32(fmt_size).u16(format_tag).u16(channels);
        u32(hertz).u32(hertz * channels * bits / 8).u16(channels * bits / 8).u16(bits);
        for (uint32_t i = 16; i < std::min<uint32_t>(fmt_size, 64); ++i)
            bytes.push_back(0xEE);
        return *this;
    }

    std::vector<uint8_t> bytes;
};

inline std::vector<uint8_t> le16(const std::vector<int16_t>& values)
{
    std::vector<uint8_t> out;
    for (int16_t v : values) {
        out.push_back(static_cast<uint8_t>(v));
        out.push_back(static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8));
    }
    return out;
}

} // namespace vantrel::test
