#pragma once

#include <QString>
#include <functional>

namespace desktop {

// How a copy the program holds can outlive it.
enum class CopyKeeping {
    // A keeper process on the X display serves it (xclip, or this program in keeper mode).
    X11Keeper,
    // wl-copy serves it through the compositor's data-control protocol.
    WlCopy,
    // The compositor keeps a copy of its own once it has read the text.
    CompositorReadsIt,
    // No desktop session shares the clipboard with other programs (offscreen, minimal).
    NothingNeeded,
};

// What is known of the session when the program ends.
struct DesktopSession {
    // Qt's platform plugin: "xcb", "wayland", "wayland-egl", "offscreen" ...
    QString platform;
    bool waylandDisplaySet;
    // Whether the compositor offers a data-control protocol; asked only where it matters, as
    // asking connects to the compositor.
    std::function<bool()> offersDataControl;
};

CopyKeeping HowTheCopyOutlivesTheProgram(const DesktopSession& session);

} // namespace desktop
