// TForwardStream and TBorrowedStream: plain delegation. Operations on a
// wrapper with no inner stream are null-object accesses and raise, except
// flush and close, which have nothing to do.
#include "assets/forward_stream.h"

namespace vantrel {

TForwardStream::TForwardStream(Ref<TByteStream> stream) { set_stream(std::move(stream)); }

void TForwardStream::set_stream(Ref<TByteStream> stream)
{
    for (TByteStream* s = stream.get(); s != nullptr;) {
        if (s == this)
            raise_error(u"A stream cannot wrap itself");
        auto* wrapper = dynamic_cast<TForwardStream*>(s);
        s = wrapper ? wrapper->stream_.get() : nullptr;
    }
    stream_ = std::move(stream);
}

int32_t TForwardStream::eof() { return stream_->eof(); }
int32_t TForwardStream::pos() { return stream_->pos(); }
int32_t TForwardStream::size() { return stream_->size(); }
int32_t TForwardStream::seek(int32_t pos) { return stream_->seek(pos); }
int32_t TForwardStream::flush() { return stream_ ? stream_->flush() : 0; }
int32_t TForwardStream::close() { return stream_ ? stream_->close() : 0; }
int32_t TForwardStream::read(void* buffer, int32_t count) { return stream_->read(buffer, count); }

int32_t TForwardStream::write(const void* buffer, int32_t count)
{
    return stream_->write(buffer, count);
}

int32_t TForwardStream::read_bytes(void* buffer, int32_t count)
{
    return stream_->read_bytes(buffer, count);
}

int32_t TForwardStream::write_bytes(const void* buffer, int32_t count)
{
    return stream_->write_bytes(buffer, count);
}

int32_t TForwardStream::skip_bytes(int32_t count) { return stream_->skip_bytes(count); }
int32_t TForwardStream::read_byte() { return stream_->read_byte(); }
int32_t TForwardStream::write_byte(int32_t value) { return stream_->write_byte(value); }
int32_t TForwardStream::read_short() { return stream_->read_short(); }
int32_t TForwardStream::write_short(int32_t value) { return stream_->write_short(value); }
int32_t TForwardStream::read_int() { return stream_->read_int(); }
int32_t TForwardStream::write_int(int32_t value) { return stream_->write_int(value); }
int64_t TForwardStream::read_long() { return stream_->read_long(); }
int32_t TForwardStream::write_long(int64_t value) { return stream_->write_long(value); }
float TForwardStream::read_float() { return stream_->read_float(); }
int32_t TForwardStream::write_float(float value) { return stream_->write_float(value); }
double TForwardStream::read_double() { return stream_->read_double(); }
int32_t TForwardStream::write_double(double value) { return stream_->write_double(value); }
Text TForwardStream::read_line() { return stream_->read_line(); }
int32_t TForwardStream::write_line(const Text& text) { return stream_->write_line(text); }
Text TForwardStream::read_string(int32_t length) { return stream_->read_string(length); }
int32_t TForwardStream::write_string(const Text& text) { return stream_->write_string(text); }
Ref<TObject> TForwardStream::read_object() { return stream_->read_object(); }

int32_t TForwardStream::write_object(const Ref<TObject>& object)
{
    return stream_->write_object(object);
}

int32_t TBorrowedStream::close()
{
    set_stream(Ref<TByteStream>());
    return 0;
}

} // namespace vantrel
