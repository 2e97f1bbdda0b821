#pragma once

namespace desktop {

// Whether the Wayland compositor of this session offers a data-control protocol, through which
// a program without a window can own the clipboard (wlroots compositors, KWin, Hyprland).
// Qt has no public interface for the compositor's globals, so a second, short connection lists
// them.
bool CompositorOffersDataControl();

} // namespace desktop
