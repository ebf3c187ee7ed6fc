// Whole-file reads and writes and little-endian byte packing for the asset
// tools. Relies on the standard library only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::assetgen {

using Bytes = std::vector<uint8_t>;

// Reads a whole file; nothing when it cannot be opened or read.
std::optional<Bytes> read_file(const std::string& path);

// Writes (replaces) a whole file; false when any part of it failed.
bool write_file(const std::string& path, const Bytes& bytes);

void put_u16le(Bytes& out, uint32_t value);
void put_u32le(Bytes& out, uint32_t value);
void put_tag(Bytes& out, const char (&tag)[5]);

// Reads from bytes at offset; the caller has checked the range.
uint32_t get_u16le(const Bytes& in, size_t offset);
uint32_t get_u32le(const Bytes& in, size_t offset);
uint32_t get_u32be(const Bytes& in, size_t offset);

}  // namespace vantrel::assetgen
