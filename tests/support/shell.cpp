#include "shell.h"

#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace vantrel::test {

bool run(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string output_of(const std::string& command)
{
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[256];
        while (std::fgets(buf, sizeof buf, p))
            out += buf;
        pclose(p);
    }
    return out;
}

void sleep_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::string visible_window(const std::string& name_pattern, int seconds)
{
    for (int i = 0; i < seconds * 20; ++i) {
        const std::string ids =
            output_of("xdotool search --onlyvisible --name '" + name_pattern + "' 2>/dev/null");
        if (!ids.empty())
            return ids.substr(0, ids.find('\n'));
        sleep_ms(50);
    }
    return "";
}

int wait_child(pid_t pid, int seconds)
{
    for (int i = 0; i < seconds * 100; ++i) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        sleep_ms(10);
    }
    return -1;
}

} // namespace vantrel::test
