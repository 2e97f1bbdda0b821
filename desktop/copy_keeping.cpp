#include "desktop/copy_keeping.h"

namespace desktop {

CopyKeeping HowTheCopyOutlivesTheProgram(const DesktopSession& session) {
    const bool onX11 = session.platform == u"xcb";
    const bool onWayland = session.platform.startsWith(u"wayland");
    // wl-copy keeps the copy also for a program on X11 inside a Wayland session (Xwayland): sway,
    // for one, does not pass on to Wayland programs the copy of an X11 program without a window
    // (the keeper), while Xwayland serves the compositor's clipboard to X11 programs.
    const bool onXwayland = onX11 && session.waylandDisplaySet;
    if ((onWayland || onXwayland) && session.offersDataControl())
        return CopyKeeping::WlCopy;
    if (onX11)
        return CopyKeeping::X11Keeper;
    return onWayland ? CopyKeeping::CompositorReadsIt : CopyKeeping::NothingNeeded;
}

} // namespace desktop
