#pragma once

#include "desktop/detached_start.h"

// On X11 the clipboard's text lives in the process that owns it, so the program hands it to a
// keeper: the same executable, started detached in keeper mode, which serves the text until it
// no longer owns the clipboard.
namespace desktop {

// Whether this process was started to keep a clipboard text. The mode is chosen through the
// environment, never the command line; the variable is removed at once, so that nothing this
// process starts inherits it.
bool TakeClipboardKeeperMode();

// Keeper mode: reads the text from standard input, puts it on the clipboard and serves it until
// it no longer owns the clipboard, however it lost it (exit code 0). Non-zero when the text or
// the clipboard cannot be had.
int RunClipboardKeeper(int& argc, char** argv);

// This executable in keeper mode, given the text to keep.
DetachedCommand X11KeeperCommand(const QByteArray& text);

} // namespace desktop
