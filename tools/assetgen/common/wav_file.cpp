// RIFF WAVE writing and checking.
#include "common/wav_file.h"

#include <stdexcept>

namespace vantrel::assetgen {
namespace {

Bytes info_list(const std::string& title)
{
    Bytes text(title.begin(), title.end());
    text.push_back(0);
    if (text.size() % 2 != 0)
        text.push_back(0);
    Bytes list;
    put_tag(list, "INFO");
    put_tag(list, "INAM");
    put_u32le(list, static_cast<uint32_t>(text.size()));
    list.insert(list.end(), text.begin(), text.end());
    return list;
}

void parse_fmt(const Bytes& bytes, const WavChunk& chunk, WavInfo& info)
{
    if (chunk.size < 16)
        return;
    info.fmt_size = chunk.size;
    info.format_tag = get_u16le(bytes, chunk.offset);
    info.channels = get_u16le(bytes, chunk.offset + 2);
    info.rate = get_u32le(bytes, chunk.offset + 4);
    info.byte_rate = get_u32le(bytes, chunk.offset + 8);
    info.block_align = get_u16le(bytes, chunk.offset + 12);
    info.bits = get_u16le(bytes, chunk.offset + 14);
}

void parse_list(const Bytes& bytes, const WavChunk& chunk, WavInfo& info)
{
    if (chunk.size < 12 || std::string(bytes.begin() + chunk.offset, bytes.begin() + chunk.offset + 4) != "INFO")
        return;
    uint32_t pos = chunk.offset + 4;
    const uint32_t end = chunk.offset + chunk.size;
    while (end - pos >= 8) {
        const std::string id(bytes.begin() + pos, bytes.begin() + pos + 4);
        const uint32_t size = get_u32le(bytes, pos + 4);
        if (size > end - pos - 8)
            return;
        if (id == "INAM") {
            const auto first = bytes.begin() + pos + 8;
            info.title.assign(first, first + size);
            info.title = info.title.substr(0, info.title.find('\0'));
        }
        pos += 8 + size + (size % 2);
    }
}

}  // namespace

Bytes encode_wav(const StereoPcm& samples, const std::string& title)
{
    if (samples.size() % 2 != 0 || samples.size() * 2 > 0x7FFF0000u)
        throw std::invalid_argument("encode_wav: need whole stereo frames of a sane count");
    const uint32_t data_bytes = static_cast<uint32_t>(samples.size() * 2);
    const Bytes list = title.empty() ? Bytes{} : info_list(title);

    Bytes out;
    out.reserve(44 + data_bytes + list.size() + 8);
    put_tag(out, "RIFF");
    put_u32le(out, 0);  // patched below
    put_tag(out, "WAVE");
    put_tag(out, "fmt ");
    put_u32le(out, 16);
    put_u16le(out, 1);  // PCM
    put_u16le(out, 2);
    put_u32le(out, kWavRate);
    put_u32le(out, kWavRate * 4);
    put_u16le(out, 4);
    put_u16le(out, 16);
    put_tag(out, "data");
    put_u32le(out, data_bytes);
    for (int16_t s : samples)
        put_u16le(out, static_cast<uint16_t>(s));
    if (!list.empty()) {
        put_tag(out, "LIST");
        put_u32le(out, static_cast<uint32_t>(list.size()));
        out.insert(out.end(), list.begin(), list.end());
    }
    const uint32_t riff_size = static_cast<uint32_t>(out.size() - 8);
    for (int i = 0; i < 4; ++i)
        out[4 + i] = static_cast<uint8_t>(riff_size >> (8 * i));
    return out;
}

std::optional<WavInfo> parse_wav(const Bytes& bytes)
{
    if (bytes.size() < 12 || std::string(bytes.begin(), bytes.begin() + 4) != "RIFF" ||
        std::string(bytes.begin() + 8, bytes.begin() + 12) != "WAVE")
        return std::nullopt;
    WavInfo info;
    info.riff_size = get_u32le(bytes, 4);
    size_t pos = 12;
    while (bytes.size() - pos >= 8) {
        WavChunk chunk{std::string(bytes.begin() + pos, bytes.begin() + pos + 4), static_cast<uint32_t>(pos + 8),
                       get_u32le(bytes, pos + 4)};
        if (chunk.size > bytes.size() - pos - 8)
            return std::nullopt;
        if (chunk.tag == "fmt ")
            parse_fmt(bytes, chunk, info);
        else if (chunk.tag == "LIST")
            parse_list(bytes, chunk, info);
        else if (chunk.tag == "data" && info.samples.empty()) {
            info.samples.resize(chunk.size / 2);
            for (size_t i = 0; i < info.samples.size(); ++i)
                info.samples[i] = static_cast<int16_t>(get_u16le(bytes, chunk.offset + 2 * i));
        }
        info.chunks.push_back(chunk);
        pos = chunk.offset + static_cast<size_t>(chunk.size) + (chunk.size % 2);
    }
    if (pos != bytes.size() && pos != bytes.size() + 1)
        return std::nullopt;
    return info;
}

}  // namespace vantrel::assetgen
