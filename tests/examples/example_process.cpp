#include "example_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace vantrel::test {

std::string temp_file(const std::string& name)
{
    return ::testing::TempDir() + "vantrel_" + std::to_string(getpid()) + "_" + name;
}

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

ExampleProcess::ExampleProcess(const std::string& program, const std::vector<std::string>& args,
                               const std::vector<std::string>& env, const std::string& stdout_file)
{
    // Everything the child needs is made before the fork.
    std::vector<std::string> settings = env;
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ != 0)
        return;
    if (!stdout_file.empty()) {
        const int fd = open(stdout_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd >= 0)
            dup2(fd, STDOUT_FILENO);
    }
    for (auto& e : settings)
        putenv(e.data());
    execv(program.c_str(), argv.data());
    _exit(127);
}

ExampleProcess::~ExampleProcess()
{
    if (pid_ > 0 && !done_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

std::string ExampleProcess::window(const std::string& title) const
{
    return visible_window("^" + title + "$", 10);
}

int ExampleProcess::wait_exit(int seconds)
{
    const int status = wait_child(pid_, seconds);
    done_ = status != -1;
    return status;
}

} // namespace vantrel::test
