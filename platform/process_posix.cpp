// Process start-up on POSIX systems: signal handlers and /proc/self/exe.
#include "platform/process.h"
#include "platform/quit_request.h"

#include <csignal>
#include <climits>
#include <unistd.h>

namespace vantrel::platform {
namespace {

[[noreturn]] void die_with(const char* message, size_t length)
{
    ssize_t ignored = write(STDERR_FILENO, message, length);
    (void)ignored;
    _exit(255);
}

// A C++ exception cannot leave a signal handler, so the handlers do the
// uncaught-error path themselves with async-signal-safe calls only.
extern "C" void on_fatal_signal(int)
{
    static const char message[] = "Received Signal\n";
    die_with(message, sizeof message - 1);
}

extern "C" void on_processor_fault(int)
{
    static const char message[] = "Unhandled Memory Exception Error\n";
    die_with(message, sizeof message - 1);
}

extern "C" void on_quit_signal(int sig)
{
    if (!note_quit_request()) {
        signal(sig, SIG_DFL);
        raise(sig);
    }
}

void install(int sig, void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(sig, &action, nullptr);
}

std::string current_dir()
{
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

} // namespace

void install_fatal_signal_handlers()
{
    for (int sig : {SIGILL, SIGSEGV, SIGABRT, SIGTERM})
        install(sig, on_fatal_signal);
    for (int sig : {SIGFPE, SIGBUS})
        install(sig, on_processor_fault);
}

void install_quit_signal_handlers()
{
    arm_quit_requests();
    for (int sig : {SIGINT, SIGHUP})
        install(sig, on_quit_signal);
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
