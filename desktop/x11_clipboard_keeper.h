#pragma once

#include "desktop/detached_start.h"

// On X11 the clipboard's text lives in the process that owns it, so the program hands it to a
// keeper. Where xclip is missing, the keeper is the same executable, started detached in keeper
// mode, which serves the text until it no longer owns the clipboard.
namespace desktop {

// Whether this process was started by X11KeeperCommand to keep a clipboard text. The mode is
// asked for through the environment, never the command line, and taken only when standard input
// is a socket pair made by the parent process, so that the variable set in a user's environment
// starts the program as usual. The variable is removed at once, so that nothing this process
// starts inherits it. Any main() of an executable that calls KeepClipboardAfterExit must call
// this first, before anything reads standard input, and RunClipboardKeeper when it is true.
bool TakeClipboardKeeperMode();

// Keeper mode: reads the text from standard input, puts it on the clipboard and serves it until
// it no longer owns the clipboard, however it lost it (exit code 0). Non-zero when the text or
// the clipboard cannot be had.
int RunClipboardKeeper(int& argc, char** argv);

// This executable in keeper mode, given the text to keep.
DetachedCommand X11KeeperCommand(const QByteArray& text);

} // namespace desktop
