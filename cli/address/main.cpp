// lirvane-address: the web address of a file, from a terminal, a script or a file manager's menu
// (see its manual page).
#include "cli/address/command.h"
#include "cli/common/interruption.h"
#include "desktop/plugin_lockdown.h"
#include "desktop/x11_clipboard_keeper.h"

int main(int argc, char* argv[]) {
    // With --copy on X11, this executable, started again in keeper mode, keeps the copy, as the
    // program's own executable does for the program.
    desktop::LoadPluginsOnlyFromTheSystem();
    if (desktop::TakeClipboardKeeperMode())
        return desktop::RunClipboardKeeper(argc, argv);
    try {
        return address::RunAddressCommand(argc, argv);
    } catch (const cli::Interrupted& interrupted) {
        cli::EndAsInterrupted(interrupted);
    }
}
