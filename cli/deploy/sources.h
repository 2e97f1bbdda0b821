#pragma once

#include <string>

// Where the files that a deployment installs come from: the package's, or the build tree's
// beside this command. Each throws Refusal when there is none.
namespace deploy {

// LIRVANE_EXECUTABLE when set; else the packaged ../lib/lirvane/lirvane beside this command's
// folder (/usr/bin -> /usr/lib/lirvane); else lirvane beside this command.
std::string ExecutableToInstall();

// The packaged ../share/icons/hicolor/32x32/apps/lirvane.png; else lirvane.png beside this
// command, where the build puts the main window's icon.
std::string IconToInstall();

// The lirvane-address beside this command, which the file managers' entries run.
std::string AddressCommandBeside();

} // namespace deploy
