// The vantrel program: the command line, platform start-up, then the game,
// with any runtime error that nothing catches reported on standard error.
#include "core/error.h"
#include "game/command_line.h"
#include "game/game_main.h"
#include "platform/process.h"

int main(int argc, char** argv)
{
    // A bad command line ends the program before anything starts.
    const vantrel::CommandLine line = vantrel::parse_command_line(argc, argv);
    if (line.action != vantrel::CommandAction::Run)
        return vantrel::finish_command_line(line);
    vantrel::set_launch_options(line.options);
    vantrel::platform::install_fatal_signal_handlers();
    vantrel::platform::install_quit_signal_handlers();
    vantrel::platform::enter_program_dir();
    return vantrel::run_guarded(&vantrel::game_entry);
}
