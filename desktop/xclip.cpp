#include "desktop/xclip.h"

namespace desktop {

DetachedCommand XclipCommand(const QByteArray& text) {
    // In the foreground (-quiet), so that the process started is the one that keeps the text.
    return {.program = "xclip",
            .arguments = {"xclip", "-selection", "clipboard", "-target", "UTF8_STRING", "-quiet"},
            .input = text};
}

} // namespace desktop
