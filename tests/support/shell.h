// Shell commands for the tests that drive programs from outside (xdotool,
// child processes).
#pragma once

#include <string>

namespace vantrel::test {

// Runs a shell command quietly; whether it succeeded.
bool run(const std::string& command);
// What a shell command prints on standard output.
std::string output_of(const std::string& command);
void sleep_ms(int ms);

} // namespace vantrel::test
