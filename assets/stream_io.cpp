// The stream errors and the defaults of the primitive stream interface: a
// stream that overrides nothing has no position, no size and refuses to be
// read or written.
#include "assets/stream.h"

namespace vantrel {

TStreamReadError::TStreamReadError() : TStreamError(u"Error reading from stream") {}

TStreamWriteError::TStreamWriteError() : TStreamError(u"Error writing to stream") {}

int32_t TStreamIO::eof() { return pos() == size() ? 1 : 0; }

int32_t TStreamIO::pos() { return -1; }

int32_t TStreamIO::size() { return 0; }

int32_t TStreamIO::seek(int32_t) { return -1; }

int32_t TStreamIO::flush() { return 0; }

int32_t TStreamIO::close() { return 0; }

int32_t TStreamIO::read(void*, int32_t) { raise_error(u"Stream is not readable"); }

int32_t TStreamIO::write(const void*, int32_t) { raise_error(u"Stream is not writeable"); }

} // namespace vantrel
