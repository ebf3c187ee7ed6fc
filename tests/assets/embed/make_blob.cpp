// Build-time tool: writes a test blob of a given size and seed.
// Usage: make_blob <output> <size> <seed>
#include "blob_pattern.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_blob <output> <size> <seed>\n");
        return 2;
    }
    const long size = std::strtol(argv[2], nullptr, 10);
    const auto seed = static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10));
    if (size < 0)
        return 2;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = vantrel::embed_test::blob_byte(seed, static_cast<uint32_t>(i));
    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr)
        return 1;
    const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && ok ? 0 : 1;
}
