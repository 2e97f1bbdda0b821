#pragma once

namespace address {

// lirvane-address: prints the address of each file given, one line each, in their order, and
// puts them on the clipboard when asked; says on standard error why a file has none, or why the
// web server will not serve it. Returns the exit status; throws cli::Interrupted.
int RunAddressCommand(int argc, char** argv);

} // namespace address
