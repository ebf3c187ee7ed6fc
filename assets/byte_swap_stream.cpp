// TByteSwapStream: big-endian values over the inner stream's read_bytes and
// write_bytes. Bytes missing at the end read as zero, so with k bytes left
// a value holds them as its high-order bytes.
#include "assets/byte_swap_stream.h"

#include <bit>

namespace vantrel {

uint64_t TByteSwapStream::read_be(int size)
{
    uint8_t bytes[8] = {};
    stream()->read_bytes(bytes, size);
    uint64_t value = 0;
    for (int i = 0; i < size; ++i)
        value = value << 8 | bytes[i];
    return value;
}

void TByteSwapStream::write_be(uint64_t value, int size)
{
    uint8_t bytes[8];
    for (int i = size - 1; i >= 0; --i, value >>= 8)
        bytes[i] = static_cast<uint8_t>(value);
    stream()->write_bytes(bytes, size);
}

int32_t TByteSwapStream::read_short() { return static_cast<int32_t>(read_be(2)); }

int32_t TByteSwapStream::write_short(int32_t value)
{
    write_be(static_cast<uint32_t>(value), 2);
    return 0;
}

int32_t TByteSwapStream::read_int() { return static_cast<int32_t>(static_cast<uint32_t>(read_be(4))); }

int32_t TByteSwapStream::write_int(int32_t value)
{
    write_be(static_cast<uint32_t>(value), 4);
    return 0;
}

int64_t TByteSwapStream::read_long() { return static_cast<int64_t>(read_be(8)); }

int32_t TByteSwapStream::write_long(int64_t value)
{
    write_be(static_cast<uint64_t>(value), 8);
    return 0;
}

float TByteSwapStream::read_float() { return std::bit_cast<float>(static_cast<uint32_t>(read_be(4))); }

int32_t TByteSwapStream::write_float(float value)
{
    write_be(std::bit_cast<uint32_t>(value), 4);
    return 0;
}

double TByteSwapStream::read_double() { return std::bit_cast<double>(read_be(8)); }

int32_t TByteSwapStream::write_double(double value)
{
    write_be(std::bit_cast<uint64_t>(value), 8);
    return 0;
}

} // namespace vantrel
