// The test a new OpenGL context must pass: the fixed-function pipeline the
// renderer draws with must be there (any context before 3.2, and later ones
// only in the compatibility profile).
#pragma once

#include <string>

namespace vantrel {

// Runs with the new context current.
bool fixed_function_available(std::string& reason);

} // namespace vantrel
