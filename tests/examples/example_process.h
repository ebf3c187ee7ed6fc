// An example program as a child process of a test: started with its
// arguments and extra environment, its standard output kept in a file.
#pragma once

#include "../support/shell.h"

#include <sys/types.h>

#include <string>
#include <vector>

namespace vantrel::test {

// A file name under the test's temporary directory, unique to this process.
std::string temp_file(const std::string& name);
std::string read_file(const std::string& path);

class ExampleProcess {
public:
    // env: extra NAME=value settings; stdout_file: where its standard output
    // goes (empty keeps the test's own).
    ExampleProcess(const std::string& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& env, const std::string& stdout_file = {});
    ~ExampleProcess();
    ExampleProcess(const ExampleProcess&) = delete;
    ExampleProcess& operator=(const ExampleProcess&) = delete;

    // The id of the visible window with this title once it is mapped, or ""
    // after ten seconds.
    std::string window(const std::string& title) const;
    // The exit status (128 + signal when killed), or -1 after `seconds`.
    int wait_exit(int seconds = 30);

private:
    pid_t pid_ = -1;
    bool done_ = false;
};

} // namespace vantrel::test
