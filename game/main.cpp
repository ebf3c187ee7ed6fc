// The vantrel program: platform start-up, then the game, with any runtime
// error that nothing catches reported on standard error.
#include "core/error.h"
#include "game/game_main.h"
#include "platform/process.h"

int main()
{
    vantrel::platform::install_fatal_signal_handlers();
    vantrel::platform::install_quit_signal_handlers();
    vantrel::platform::enter_program_dir();
    return vantrel::run_guarded(&vantrel::game_entry);
}
