#pragma once

// A copy must stay pasteable after the program ends. On X11 a keeper process serves it (xclip,
// or this program in keeper mode: see x11_clipboard_keeper.h); on Wayland, a compositor with a
// data-control protocol lets wl-copy keep it the same way, also for a program on X11 through
// Xwayland; other compositors keep a copy of their own once they have read it.
namespace desktop {

// Called when the program ends, while the application still exists: when it owns the
// clipboard, sees that the copy outlives it. False when the copy is lost.
bool KeepClipboardAfterExit();

} // namespace desktop
