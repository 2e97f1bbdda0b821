#include "desktop/wl_copy.h"

namespace desktop {

DetachedCommand WlCopyCommand(const QByteArray& text) {
    return {.program = "wl-copy",
            .arguments = {"wl-copy", "--foreground", "--type", "text/plain;charset=utf-8"},
            .input = text};
}

} // namespace desktop
