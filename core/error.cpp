#include "core/error.h"

#include <cstdio>
#include <cstdlib>

namespace vantrel {

TRuntimeError::TRuntimeError(Text message)
    : message_(std::move(message)), bytes_(message_.to_bytes())
{
}

void raise_error(Text message) { throw TRuntimeError(std::move(message)); }

void raise_null_access()
{
    raise_error(u"Attempt to access field or method of Null object");
}

void report_fatal(const Text& message)
{
    const std::string bytes = message.to_bytes();
    std::fwrite(bytes.data(), 1, bytes.size(), stderr);
    // Ended like a line, as the signal handlers' messages are, so that a
    // terminal's prompt does not run on after it.
    std::fputc('\n', stderr);
    std::fflush(stderr);
    std::exit(-1);
}

int run_guarded(int (*body)())
{
    try {
        return body();
    } catch (const TRuntimeError& e) {
        report_fatal(e.message());
    } catch (const std::exception& e) {
        report_fatal(Text::from_bytes(e.what()));
    }
}

} // namespace vantrel
