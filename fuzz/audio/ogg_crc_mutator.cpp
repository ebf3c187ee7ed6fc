// libFuzzer custom mutator for Ogg input: the stock mutation, then, for three
// inputs in four, every complete page gets a correct checksum again. Without
// it libogg drops almost every mutated page before the Vorbis decoder and
// our loader see it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t max_size);

namespace {

// Ogg's CRC-32: polynomial 0x04C11DB7, most significant bit first, no
// reflection, starting from 0.
std::array<uint32_t, 256> make_table()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t r = i << 24;
        for (int k = 0; k < 8; ++k)
            r = r & 0x80000000u ? r << 1 ^ 0x04C11DB7u : r << 1;
        table[i] = r;
    }
    return table;
}

uint32_t page_crc(const uint8_t* page, size_t length)
{
    static const std::array<uint32_t, 256> table = make_table();
    uint32_t crc = 0;
    for (size_t i = 0; i < length; ++i)
        crc = crc << 8 ^ table[(crc >> 24 ^ page[i]) & 0xFF];
    return crc;
}

// The length of the whole page at `at`, or 0 when it does not fit.
size_t page_length(const uint8_t* data, size_t size, size_t at)
{
    if (size - at < 27 || std::memcmp(data + at, "OggS", 4) != 0)
        return 0;
    const size_t segments = data[at + 26];
    if (size - at < 27 + segments)
        return 0;
    size_t length = 27 + segments;
    for (size_t i = 0; i < segments; ++i)
        length += data[at + 27 + i];
    return length <= size - at ? length : 0;
}

void reseal_pages(uint8_t* data, size_t size)
{
    for (size_t at = 0; at + 27 <= size;) {
        const size_t length = page_length(data, size, at);
        if (length == 0) {
            ++at; // look for the next capture pattern
            continue;
        }
        std::memset(data + at + 22, 0, 4);
        const uint32_t crc = page_crc(data + at, length);
        for (int i = 0; i < 4; ++i)
            data[at + 22 + static_cast<size_t>(i)] = static_cast<uint8_t>(crc >> (8 * i));
        at += length;
    }
}

} // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t max_size,
                                          unsigned int seed)
{
    size = LLVMFuzzerMutate(data, size, max_size);
    if (seed % 4 != 0)
        reseal_pages(data, size);
    return size;
}
