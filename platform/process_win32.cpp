// Process start-up on Windows: the unhandled-exception filter, the C
// runtime's signals, the console's Ctrl+C, and the module's own path.
#include "platform/process.h"
#include "platform/quit_request.h"

#include <windows.h>

#include <csignal>
#include <cstring>
#include <direct.h>
#include <io.h>

namespace vantrel::platform {
namespace {

[[noreturn]] void die_with(const char* message)
{
    const int ignored = _write(2, message, static_cast<unsigned>(std::strlen(message)));
    (void)ignored;
    ExitProcess(255);
}

extern "C" void on_fatal_signal(int) { die_with("Received Signal\n"); }

// Access violations, divisions by zero and the other processor exceptions
// that nothing handled.
LONG WINAPI on_unhandled_exception(EXCEPTION_POINTERS*)
{
    die_with("Unhandled Memory Exception Error\n");
}

// Ctrl+C and Ctrl+Break in the console that started the game ask it to
// close, like the close box; a second one while the first is unread, or the
// console closing, ends it the default way.
BOOL WINAPI on_console_event(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    return note_quit_request() ? TRUE : FALSE;
}

std::string current_dir()
{
    char buffer[MAX_PATH];
    return _getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

} // namespace

void install_fatal_signal_handlers()
{
    for (int sig : {SIGILL, SIGSEGV, SIGABRT, SIGTERM})
        std::signal(sig, on_fatal_signal);
    SetUnhandledExceptionFilter(on_unhandled_exception);
}

void install_quit_signal_handlers()
{
    arm_quit_requests();
    SetConsoleCtrlHandler(on_console_event, TRUE);
}

ProcessPaths enter_program_dir()
{
    ProcessPaths paths;
    paths.launch_dir = current_dir();
    char buffer[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer)
        return paths;
    paths.program_path.assign(buffer, n);
    const size_t cut = paths.program_path.find_last_of("\\/");
    paths.program_dir = paths.program_path.substr(0, cut == std::string::npos ? 0 : cut);
    if (paths.program_dir.size() == 2 && paths.program_dir[1] == ':')
        paths.program_dir += '\\'; // "C:" alone would name the drive's current folder
    if (paths.program_dir.empty() || !SetCurrentDirectoryA(paths.program_dir.c_str()))
        paths.program_dir.clear();
    return paths;
}

} // namespace vantrel::platform
