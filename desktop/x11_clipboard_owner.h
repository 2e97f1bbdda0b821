#pragma once

namespace desktop {

// Whether this process holds the clipboard now. Qt's X11 plugin goes on reporting ownership
// after another program cleared the clipboard (owner None), or took it and cleared it before Qt
// handled the first event, so on X11 the server is asked too.
bool OwnsClipboard();

} // namespace desktop
