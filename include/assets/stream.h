// Byte streams: the primitive stream interface and the typed byte stream.
//
// TStreamIO is what a concrete stream implements (position, size, seek,
// raw read and write). TByteStream adds the typed operations on top of the
// primitives, little-endian on every host. Reading past the end is not an
// error: a typed value read at the end is 0, one with k bytes left has those
// k bytes as its low-order bytes. A read that makes no progress before the
// end raises TStreamReadError.
#pragma once

#include "core/error.h"
#include "core/object.h"
#include "core/text.h"

#include <cstdint>

namespace vantrel {

class TStreamError : public TRuntimeError {
public:
    using TRuntimeError::TRuntimeError;
};

class TStreamReadError : public TStreamError {
public:
    TStreamReadError();
};

class TStreamWriteError : public TStreamError {
public:
    TStreamWriteError();
};

class TStreamIO : public TObject {
public:
    virtual int32_t eof();
    virtual int32_t pos();
    virtual int32_t size();
    virtual int32_t seek(int32_t pos);
    virtual int32_t flush();
    virtual int32_t close();
    virtual int32_t read(void* buffer, int32_t count);
    virtual int32_t write(const void* buffer, int32_t count);
};

class TByteStream : public TStreamIO {
public:
    // Concrete streams call close() in their own destructor, while their
    // overrides still exist.
    virtual int32_t read_bytes(void* buffer, int32_t count);
    virtual int32_t write_bytes(const void* buffer, int32_t count);
    virtual int32_t skip_bytes(int32_t count);
    virtual int32_t read_byte();
    virtual int32_t write_byte(int32_t value);
    virtual int32_t read_short();
    virtual int32_t write_short(int32_t value);
    virtual int32_t read_int();
    virtual int32_t write_int(int32_t value);
    virtual int64_t read_long();
    virtual int32_t write_long(int64_t value);
    virtual float read_float();
    virtual int32_t write_float(float value);
    virtual double read_double();
    virtual int32_t write_double(double value);
    virtual Text read_line();
    virtual int32_t write_line(const Text& text);
    virtual Text read_string(int32_t length);
    virtual int32_t write_string(const Text& text);
    virtual Ref<TObject> read_object();
    virtual int32_t write_object(const Ref<TObject>& object);
};

// A stream over a buffer it does not own.
class TMemoryStream;
Ref<TByteStream> create_memory_stream(const void* data, int32_t size, int readable, int writeable);

// Opens a location: a text ("incbin::name", "bigendian::path", a file path)
// or an already open stream (wrapped so that closing the result leaves the
// caller's stream open). The null object when nothing opens it.
Ref<TByteStream> open_stream(const Ref<TObject>& location, int readable, int writeable);
Ref<TByteStream> open_stream(const Text& location, int readable, int writeable);
Ref<TByteStream> read_stream(const Text& location);
Ref<TByteStream> write_stream(const Text& location);
Ref<TByteStream> read_stream(const Ref<TObject>& location);

Ref<TByteStream> little_endian_view(const Ref<TByteStream>& stream);
Ref<TByteStream> big_endian_view(const Ref<TByteStream>& stream);

// Installs the stream factories ("incbin", "littleendian", "bigendian") once.
void streams_init();

} // namespace vantrel
