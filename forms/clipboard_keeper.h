#pragma once

// A copy must stay pasteable after the program ends. On X11 the clipboard's text lives in the
// process that owns it, so the program hands it to a keeper: the same executable, started
// detached in keeper mode, which serves the text until it no longer owns the clipboard. On
// Wayland, a compositor with a data-control protocol lets wl-copy keep it the same way; other
// compositors keep a copy of their own once they have read it.
namespace forms {

// Whether this process was started to keep a clipboard text. The mode is chosen through the
// environment, never the command line; the variable is removed at once, so that nothing this
// process starts inherits it.
bool TakeClipboardKeeperMode();

// Keeper mode: reads the text from standard input, puts it on the clipboard and serves it until
// it no longer owns the clipboard, however it lost it (exit code 0). Non-zero when the text or
// the clipboard cannot be had.
int RunClipboardKeeper(int& argc, char** argv);

// Called when the program ends, while the application still exists: when it owns the
// clipboard, sees that the copy outlives it, and says so when it cannot.
void KeepClipboardAfterExit();

} // namespace forms
