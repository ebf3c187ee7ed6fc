#include "platform/process.h"

#include <csignal>
#include <climits>
#include <unistd.h>

namespace vantrel::platform {
namespace {

// A C++ exception cannot leave a signal handler, so the handler does the
// uncaught-error path itself with async-signal-safe calls only.
extern "C" void on_fatal_signal(int)
{
    static const char message[] = "Received Signal\n";
    ssize_t ignored = write(STDERR_FILENO, message, sizeof message - 1);
    (void)ignored;
    _exit(255);
}

std::string current_dir()
{
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

} // namespace

void install_fatal_signal_handlers()
{
    struct sigaction action = {};
    action.sa_handler = on_fatal_signal;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGILL, SIGSEGV, SIGABRT, SIGTERM})
        sigaction(sig, &action, nullptr);
}

ProcessPaths enter_program_dir()
{
    ProcessPaths paths;
    paths.launch_dir = current_dir();
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return paths;
    paths.program_path.assign(buffer, static_cast<size_t>(n));
    size_t cut = paths.program_path.rfind('/');
    paths.program_dir = paths.program_path.substr(0, cut == 0 ? 1 : cut);
    if (chdir(paths.program_dir.c_str()) != 0)
        paths.program_dir.clear();
    return paths;
}

} // namespace vantrel::platform
