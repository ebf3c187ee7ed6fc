// The test a new OpenGL context must pass: the fixed-function pipeline the
// renderer draws with must be there (any context before 3.2, and later ones
// only in the compatibility profile).
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// Runs with the new context current.
bool fixed_function_available(std::string& reason);

// Whether the current context lists the extension (a whole name of its
// GL_EXTENSIONS string, not a prefix of one).
bool gl_offers_extension(std::string_view name);

} // namespace vantrel
