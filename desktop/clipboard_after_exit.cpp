#include "desktop/clipboard_after_exit.h"

#include "desktop/wayland_data_control.h"
#include "desktop/wl_copy.h"
#include "desktop/x11_clipboard_keeper.h"
#include "desktop/x11_clipboard_owner.h"
#include "forms/clipboard.h"

#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <chrono>
#include <functional>

namespace desktop {
namespace {

using namespace std::chrono_literals;

// Long enough for a keeper to start on a busy machine, short enough that a program whose keeper
// failed still ends promptly.
constexpr auto TakeoverLimit = 3s;
// A compositor that keeps copies reads a new one at once; this bounds the wait when it does not.
constexpr auto CompositorReadLimit = 2s;

// Lets events run until the condition holds or the time is up; whether it holds.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    QEventLoop waiting;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &waiting, [&] {
        if (condition())
            waiting.quit();
    });
    QTimer::singleShot(limit, &waiting, &QEventLoop::quit);
    check.start(10ms);
    if (!condition())
        waiting.exec();
    return condition();
}

bool HandOver(const DetachedCommand& keeper) {
    return StartDetached(keeper) && WaitUntil([] { return !OwnsClipboard(); }, TakeoverLimit);
}

bool CompositorReadTheCopy() {
    return WaitUntil([] { return !forms::Clipboard::HoldsUnreadText(); }, CompositorReadLimit);
}

// Reading the text counts as a read of the copy: only a hand-over may read it.
QByteArray CopiedText() {
    return QGuiApplication::clipboard()->text().toUtf8();
}

bool CopyOutlivesProgram() {
    const QString platform = QGuiApplication::platformName();
    const bool onX11 = platform == u"xcb";
    const bool onWayland = platform.startsWith(u"wayland");
    // wl-copy keeps the copy also for a program on X11 inside a Wayland session (Xwayland): sway,
    // for one, does not pass on to Wayland programs the copy of an X11 program without a window
    // (the keeper), while Xwayland serves the compositor's clipboard to X11 programs.
    const bool onXwayland = onX11 && qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
    if ((onWayland || onXwayland) && CompositorOffersDataControl())
        return HandOver(WlCopyCommand(CopiedText()));
    if (onX11)
        return HandOver(X11KeeperCommand(CopiedText()));
    return !onWayland || CompositorReadTheCopy();
}

} // namespace

bool KeepClipboardAfterExit() {
    return !OwnsClipboard() || CopyOutlivesProgram();
}

} // namespace desktop
