// Shell commands for the tests that drive programs from outside (xdotool,
// child processes).
#pragma once

#include <sys/types.h>

#include <string>

namespace vantrel::test {

// Runs a shell command quietly; whether it succeeded.
bool run(const std::string& command);
// What a shell command prints on standard output.
std::string output_of(const std::string& command);
void sleep_ms(int ms);
// The id of the first visible window whose name matches the regular
// expression, once one is mapped, or "" after `seconds`.
std::string visible_window(const std::string& name_pattern, int seconds);
// A child's exit status (128 + signal when killed) once it has ended, or -1
// after `seconds`.
int wait_child(pid_t pid, int seconds);

} // namespace vantrel::test
