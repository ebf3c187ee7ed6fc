// Runtime errors: exceptions that carry a message text.
//
// Misuse and broken data raise a TRuntimeError, which unwinds to the nearest
// handler. One that nothing catches ends the process through
// run_guarded()/report_fatal(): its text goes to standard error, each code
// unit cut to its low byte, and the process exits with status -1 (255).
#pragma once

#include "core/text.h"

#include <exception>
#include <string>

namespace vantrel {

class TRuntimeError : public std::exception {
public:
    explicit TRuntimeError(Text message);
    const Text& message() const noexcept { return message_; }
    const char* what() const noexcept override { return bytes_.c_str(); }

private:
    Text message_;
    std::string bytes_;
};

[[noreturn]] void raise_error(Text message);

// Writes the message's low bytes to stderr, flushes, and exits with -1. The
// exit runs the at-exit actions (closing the graphics among them).
[[noreturn]] void report_fatal(const Text& message);

// Runs body; an exception that escapes it is reported as above.
int run_guarded(int (*body)());

} // namespace vantrel
