#pragma once

#include "desktop/detached_start.h"

namespace desktop {

// wl-copy, given the text to keep: it owns the clipboard through the compositor's data-control
// protocol and ends once another copy replaces it. Debian ships no data-control protocol file,
// so wl-clipboard, Debian's tool for this job, stands in for a keeper of the program's own.
DetachedCommand WlCopyCommand(const QByteArray& text);

} // namespace desktop
