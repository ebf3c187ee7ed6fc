// Text and object operations of TByteStream. Characters travel as single
// bytes: reading makes each byte one code unit 0..255, writing keeps each
// code unit's low 8 bits.
#include "assets/stream.h"
#include "assets/stream_detail.h"

#include <algorithm>
#include <string>

namespace vantrel {

Text TByteStream::read_line()
{
    // Reads byte by byte through read() so that a line never takes more
    // than it needs and the end of the stream is never an error.
    std::u16string line;
    for (;;) {
        uint8_t byte = 0;
        if (read(&byte, 1) != 1 || byte == 0 || byte == 10)
            break;
        if (byte != 13)
            line.push_back(byte);
    }
    return Text(std::move(line));
}

int32_t TByteStream::write_line(const Text& text)
{
    static const uint8_t crlf[2] = {13, 10};
    const std::string bytes = text.to_bytes();
    const int32_t count = stream_detail::count_of(bytes.size());
    const bool body = write(bytes.data(), count) == count;
    const bool end = write(crlf, 2) == 2;
    return body && end ? 1 : 0;
}

Text TByteStream::read_string(int32_t length)
{
    // Read in pieces so that a corrupt length costs memory only for the
    // bytes the stream really holds.
    std::u16string result;
    uint8_t chunk[4096];
    for (int32_t left = length; left > 0;) {
        const int32_t want = std::min<int32_t>(left, sizeof chunk);
        const int32_t got = stream_detail::read_available(*this, chunk, want);
        result.append(chunk, chunk + got);
        if (got < want)
            break;
        left -= got;
    }
    return Text(std::move(result));
}

int32_t TByteStream::write_string(const Text& text)
{
    const std::string bytes = text.to_bytes();
    write_bytes(bytes.data(), stream_detail::count_of(bytes.size()));
    return 0;
}

Ref<TObject> TByteStream::read_object() { raise_error(u"Unable to read object"); }

int32_t TByteStream::write_object(const Ref<TObject>&) { raise_error(u"Unable to write object"); }

} // namespace vantrel
