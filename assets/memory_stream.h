// TMemoryStream: a seekable stream over a byte buffer that it does not own.
// Asset streams are memory streams over the embedded blobs, read in place.
#pragma once

#include "assets/stream.h"

namespace vantrel {

class TMemoryStream : public TByteStream {
public:
    // A negative size, or a null buffer, gives an empty stream.
    TMemoryStream(const void* data, int32_t size, int readable, int writeable);

    int32_t pos() override { return pos_; }
    int32_t size() override { return size_; }
    int32_t seek(int32_t pos) override;
    int32_t read(void* buffer, int32_t count) override;
    int32_t write(const void* buffer, int32_t count) override;

    const uint8_t* data() const noexcept { return data_; }
    bool readable() const noexcept { return readable_; }
    bool writeable() const noexcept { return writeable_; }

private:
    // How many of count bytes fit between pos and the end.
    int32_t span(int32_t count) const noexcept;

    int32_t pos_ = 0;
    int32_t size_;
    uint8_t* data_; // written only when the creator said it may be
    bool readable_;
    bool writeable_;
};

} // namespace vantrel
