#pragma once

#include <QString>
#include <optional>

// On X11 the clipboard's text lives in the process that owns it. So that a copy stays pasteable
// after the program ends, the program hands its text to a keeper: the same executable, started
// detached in keeper mode, which serves the text until another program takes the clipboard.
namespace forms {

// The file whose text this process was started to keep, when it runs in keeper mode. The mode
// is chosen through the environment, never the command line; the variable is removed at once,
// so that nothing this process starts inherits it.
std::optional<QString> TakeClipboardKeeperFile();

// Keeper mode: reads and removes the file, puts its text on the clipboard and serves it until
// another program takes the clipboard (exit code 0). Non-zero when the text or the clipboard
// cannot be had.
int RunClipboardKeeper(int& argc, char** argv, const QString& file);

// Called when the program ends: when it owns the clipboard on X11, hands the text to a keeper
// and lets events run until the keeper has taken the clipboard over, for a few seconds at most.
// Elsewhere the window system keeps the copy, and nothing happens.
void KeepClipboardAfterExit();

} // namespace forms
