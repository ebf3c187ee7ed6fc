// The typed operations of TByteStream, built on the primitives.
//
// Values are little-endian on every host. A typed read starts from a
// zero-filled buffer, so bytes missing at the end of the stream read as 0.
#include "assets/stream.h"
#include "assets/stream_detail.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace vantrel {

namespace stream_detail {

int32_t read_available(TStreamIO& stream, void* buffer, int32_t count)
{
    auto* at = static_cast<uint8_t*>(buffer);
    int32_t done = 0;
    while (done < count && stream.eof() == 0) {
        const int32_t n = stream.read(at + done, count - done);
        if (n <= 0 || n > count - done)
            throw TStreamReadError();
        done += n;
    }
    return done;
}

} // namespace stream_detail

namespace {

// Little-endian load and store of the low `size` bytes of a value.
uint64_t load_le(const uint8_t* bytes, int size)
{
    uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

void store_le(uint8_t* bytes, uint64_t value, int size)
{
    for (int i = 0; i < size; ++i, value >>= 8)
        bytes[i] = static_cast<uint8_t>(value);
}

uint64_t read_le(TByteStream& stream, int size)
{
    uint8_t bytes[8] = {};
    stream.read_bytes(bytes, size);
    return load_le(bytes, size);
}

void write_le(TByteStream& stream, uint64_t value, int size)
{
    uint8_t bytes[8];
    store_le(bytes, value, size);
    stream.write_bytes(bytes, size);
}

} // namespace

int32_t TByteStream::read_bytes(void* buffer, int32_t count)
{
    if (count <= 0)
        return 0;
    stream_detail::read_available(*this, buffer, count);
    return count;
}

int32_t TByteStream::write_bytes(const void* buffer, int32_t count)
{
    if (count <= 0)
        return 0;
    const auto* at = static_cast<const uint8_t*>(buffer);
    for (int32_t left = count; left > 0;) {
        const int32_t n = write(at, left);
        if (n <= 0 || n > left)
            throw TStreamWriteError();
        at += n;
        left -= n;
    }
    return count;
}

int32_t TByteStream::skip_bytes(int32_t count)
{
    if (count <= 0)
        return 0;
    uint8_t scratch[1024];
    for (int32_t left = count; left > 0;) {
        const int32_t chunk = std::min<int32_t>(left, sizeof scratch);
        const int32_t got = stream_detail::read_available(*this, scratch, chunk);
        if (got < chunk)
            break; // the end came first
        left -= got;
    }
    return count;
}

int32_t TByteStream::read_byte() { return static_cast<int32_t>(read_le(*this, 1)); }

int32_t TByteStream::write_byte(int32_t value)
{
    write_le(*this, static_cast<uint32_t>(value), 1);
    return 0;
}

int32_t TByteStream::read_short() { return static_cast<int32_t>(read_le(*this, 2)); }

int32_t TByteStream::write_short(int32_t value)
{
    write_le(*this, static_cast<uint32_t>(value), 2);
    return 0;
}

int32_t TByteStream::read_int() { return static_cast<int32_t>(static_cast<uint32_t>(read_le(*this, 4))); }

int32_t TByteStream::write_int(int32_t value)
{
    write_le(*this, static_cast<uint32_t>(value), 4);
    return 0;
}

int64_t TByteStream::read_long() { return static_cast<int64_t>(read_le(*this, 8)); }

int32_t TByteStream::write_long(int64_t value)
{
    write_le(*this, static_cast<uint64_t>(value), 8);
    return 0;
}

float TByteStream::read_float()
{
    return std::bit_cast<float>(static_cast<uint32_t>(read_le(*this, 4)));
}

int32_t TByteStream::write_float(float value)
{
    write_le(*this, std::bit_cast<uint32_t>(value), 4);
    return 0;
}

double TByteStream::read_double() { return std::bit_cast<double>(read_le(*this, 8)); }

int32_t TByteStream::write_double(double value)
{
    write_le(*this, std::bit_cast<uint64_t>(value), 8);
    return 0;
}

} // namespace vantrel
