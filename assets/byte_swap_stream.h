// TByteSwapStream: the big-endian view of a stream. Multi-byte values pass
// through the inner stream with their bytes reversed; everything else is
// forwarded unchanged.
#pragma once

#include "assets/forward_stream.h"

namespace vantrel {

class TByteSwapStream final : public TForwardStream {
public:
    using TForwardStream::TForwardStream;

    int32_t read_short() override;
    int32_t write_short(int32_t value) override;
    int32_t read_int() override;
    int32_t write_int(int32_t value) override;
    int64_t read_long() override;
    int32_t write_long(int64_t value) override;
    float read_float() override;
    int32_t write_float(float value) override;
    double read_double() override;
    int32_t write_double(double value) override;

private:
    uint64_t read_be(int size);
    void write_be(uint64_t value, int size);
};

} // namespace vantrel
