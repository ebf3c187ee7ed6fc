// Whole-file helpers and little-endian packing.
#include "common/byte_io.h"

#include <fstream>
#include <iterator>

namespace vantrel::assetgen {

std::optional<Bytes> read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return bytes;
}

bool write_file(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

void put_u16le(Bytes& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void put_u32le(Bytes& out, uint32_t value)
{
    put_u16le(out, value & 0xFFFF);
    put_u16le(out, value >> 16);
}

void put_tag(Bytes& out, const char (&tag)[5])
{
    out.insert(out.end(), tag, tag + 4);
}

uint32_t get_u16le(const Bytes& in, size_t offset)
{
    return static_cast<uint32_t>(in[offset]) | (static_cast<uint32_t>(in[offset + 1]) << 8);
}

uint32_t get_u32le(const Bytes& in, size_t offset)
{
    return get_u16le(in, offset) | (get_u16le(in, offset + 2) << 16);
}

uint32_t get_u32be(const Bytes& in, size_t offset)
{
    return (static_cast<uint32_t>(in[offset]) << 24) | (static_cast<uint32_t>(in[offset + 1]) << 16) |
           (static_cast<uint32_t>(in[offset + 2]) << 8) | static_cast<uint32_t>(in[offset + 3]);
}

}  // namespace vantrel::assetgen
