#include "game_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace vantrel::test {
namespace {

constexpr const char* WINDOW_NAME = "^Vantrel v.0.3$";

} // namespace

GameProcess::GameProcess(const std::vector<std::string>& env, std::string stderr_file)
    : stderr_file_(std::move(stderr_file))
{
    pid_ = fork();
    if (pid_ != 0)
        return;
    if (!stderr_file_.empty()) {
        const int fd = open(stderr_file_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd >= 0)
            dup2(fd, STDERR_FILENO);
    }
    for (const auto& e : env)
        putenv(const_cast<char*>(e.c_str()));
    // Another build of the game, such as the Windows one under Wine.
    if (const char* command = std::getenv("VANTREL_GAME_COMMAND")) {
        const std::string line = std::string("exec ") + command;
        execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    execl(VANTREL_EXECUTABLE, VANTREL_EXECUTABLE, static_cast<char*>(nullptr));
    _exit(127);
}

GameProcess::~GameProcess()
{
    if (pid_ > 0 && !done_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (!stderr_file_.empty())
        std::remove(stderr_file_.c_str());
}

std::string GameProcess::windows()
{
    return output_of("xdotool search --onlyvisible --name '" + std::string(WINDOW_NAME) + "' 2>/dev/null");
}

std::string GameProcess::window() { return visible_window(WINDOW_NAME, 20); }

int GameProcess::wait_exit()
{
    const int status = wait_child(pid_, 10);
    done_ = status != -1;
    return status;
}

std::string GameProcess::error_text() const
{
    std::ifstream in(stderr_file_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace vantrel::test
