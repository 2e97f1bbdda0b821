#include "desktop/clipboard_after_exit.h"

#include "desktop/copy_keeping.h"
#include "desktop/wayland_data_control.h"
#include "desktop/wl_copy.h"
#include "desktop/x11_clipboard_keeper.h"
#include "desktop/x11_clipboard_owner.h"
#include "desktop/xclip.h"
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
    const DesktopSession session{.platform = QGuiApplication::platformName(),
                                 .waylandDisplaySet = qEnvironmentVariableIsSet("WAYLAND_DISPLAY"),
                                 .offersDataControl = CompositorOffersDataControl};
    switch (HowTheCopyOutlivesTheProgram(session)) {
    case CopyKeeping::X11Keeper: {
        // xclip holds nothing of the program's folder and weighs little; this program's own
        // keeper stands in where it is missing.
        const QByteArray text = CopiedText();
        return HandOver(XclipCommand(text)) || HandOver(X11KeeperCommand(text));
    }
    case CopyKeeping::WlCopy:
        return HandOver(WlCopyCommand(CopiedText()));
    case CopyKeeping::CompositorReadsIt:
        return CompositorReadTheCopy();
    case CopyKeeping::NothingNeeded:
        break;
    }
    return true;
}

} // namespace

bool KeepClipboardAfterExit() {
    return !OwnsClipboard() || CopyOutlivesProgram();
}

} // namespace desktop
