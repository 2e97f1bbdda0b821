#pragma once

#include "desktop/detached_start.h"

namespace desktop {

// xclip, given the text to keep: it owns the X clipboard, serves the text as UTF-8 and ends once
// another program takes or clears the clipboard, or the X display goes away. Run from the
// system, it holds nothing of the program's folder (a mount there can be unmounted), and it is
// a small fraction of the program's size in memory.
DetachedCommand XclipCommand(const QByteArray& text);

} // namespace desktop
