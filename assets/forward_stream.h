// Wrapper streams: TForwardStream hands every operation to an inner stream,
// so a wrapper behaves exactly like what it wraps. TBorrowedStream is what
// open_stream gives for a stream that is already open: closing it only lets
// go of the inner stream, which stays open for its owner.
#pragma once

#include "assets/stream.h"

namespace vantrel {

class TForwardStream : public TByteStream {
public:
    TForwardStream() = default;
    explicit TForwardStream(Ref<TByteStream> stream);
    // Destroying a wrapper only drops its reference: the inner stream may
    // still be in use elsewhere and closes itself when its last holder goes.
    ~TForwardStream() override = default;

    int32_t eof() override;
    int32_t pos() override;
    int32_t size() override;
    int32_t seek(int32_t pos) override;
    int32_t flush() override;
    int32_t close() override;
    int32_t read(void* buffer, int32_t count) override;
    int32_t write(const void* buffer, int32_t count) override;

    int32_t read_bytes(void* buffer, int32_t count) override;
    int32_t write_bytes(const void* buffer, int32_t count) override;
    int32_t skip_bytes(int32_t count) override;
    int32_t read_byte() override;
    int32_t write_byte(int32_t value) override;
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
    Text read_line() override;
    int32_t write_line(const Text& text) override;
    Text read_string(int32_t length) override;
    int32_t write_string(const Text& text) override;
    Ref<TObject> read_object() override;
    int32_t write_object(const Ref<TObject>& object) override;

    // Takes a reference to the new inner stream and drops the old one.
    // A stream that already wraps this one is refused: the loop would
    // never end.
    virtual void set_stream(Ref<TByteStream> stream);
    const Ref<TByteStream>& stream() const noexcept { return stream_; }

private:
    Ref<TByteStream> stream_;
};

class TBorrowedStream final : public TForwardStream {
public:
    using TForwardStream::TForwardStream;
    ~TBorrowedStream() override { close(); }

    // Detaches from the inner stream without closing it.
    int32_t close() override;
};

} // namespace vantrel
