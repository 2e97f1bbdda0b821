#pragma once

namespace forms {

// Whether this process holds the clipboard now. Qt's X11 plugin goes on reporting ownership
// after another program cleared the clipboard (owner None), so on X11 the server is asked too.
bool OwnsClipboard();

} // namespace forms
