// The real vantrel program as a child process on the tests' X server, for
// the tests that drive it from outside (xdotool, signals). Each test program
// that uses it defines VANTREL_EXECUTABLE, the path of the program;
// VANTREL_GAME_COMMAND in the environment runs a command line instead.
#pragma once

#include "../support/shell.h"

#include <sys/types.h>

#include <string>
#include <vector>

namespace vantrel::test {


class GameProcess {
public:
    // env: extra NAME=value settings; stderr_file: where the program's
    // standard error goes (empty keeps the test's own).
    explicit GameProcess(const std::vector<std::string>& env, std::string stderr_file = {});
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    pid_t pid() const { return pid_; }
    // The ids of the game's visible windows, one a line.
    static std::string windows();
    // The window's id once it is mapped, or "" after twenty seconds.
    std::string window();
    // The exit status (128 + signal when killed), or -1 after ten seconds.
    int wait_exit();
    // What the program wrote to its standard error file.
    std::string error_text() const;

private:
    std::string stderr_file_;
    pid_t pid_ = -1;
    bool done_ = false;
};

} // namespace vantrel::test
