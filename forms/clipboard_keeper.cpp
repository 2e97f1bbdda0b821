#include "forms/clipboard_keeper.h"

#include "forms/clipboard.h"
#include "forms/clipboard_ownership.h"
#include "forms/detached_start.h"
#include "forms/msg_box.h"
#include "forms/qt_text.h"
#include "forms/wayland_data_control.h"

#include <QClipboard>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QTimer>
#include <cerrno>
#include <chrono>
#include <functional>
#include <optional>
#include <unistd.h>

namespace forms {
namespace {

using namespace std::chrono_literals;

constexpr char KeeperVariable[] = "LIRVANE_CLIPBOARD_KEEPER";

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

QByteArray ClipboardText() {
    return QGuiApplication::clipboard()->text().toUtf8();
}

// This executable, even when it was renamed, moved or deleted since it started.
DetachedCommand OwnKeeper() {
    DetachedCommand keeper{.program = "/proc/self/exe",
                           .arguments = {QFile::encodeName(QCoreApplication::arguments().value(0))},
                           .input = ClipboardText()};
    keeper.environment.insert(QString::fromLatin1(KeeperVariable), QStringLiteral("1"));
    // It serves this program's X display and is no program of the desktop session.
    keeper.environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    keeper.environment.remove(QStringLiteral("SESSION_MANAGER"));
    return keeper;
}

// wl-copy owns the clipboard through the data-control protocol and ends once replaced.
DetachedCommand WlCopy() {
    return {.program = "wl-copy",
            .arguments = {"wl-copy", "--foreground", "--type", "text/plain;charset=utf-8"},
            .input = ClipboardText()};
}

bool CopyOutlivesProgram() {
    const QString platform = QGuiApplication::platformName();
    if (platform == u"xcb")
        return HandOver(OwnKeeper());
    if (!platform.startsWith(u"wayland"))
        return true;
    if (CompositorOffersDataControl())
        return HandOver(WlCopy());
    return WaitUntil([] { return !Clipboard::HoldsUnreadText(); }, CompositorReadLimit);
}

std::optional<QByteArray> ReadStandardInput() {
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t count = read(STDIN_FILENO, buffer, sizeof buffer);
        if (count == 0)
            return bytes;
        if (count > 0)
            bytes.append(buffer, count);
        else if (errno != EINTR)
            return std::nullopt;
    }
}

} // namespace

bool TakeClipboardKeeperMode() {
    if (!qEnvironmentVariableIsSet(KeeperVariable))
        return false;
    qunsetenv(KeeperVariable);
    return true;
}

int RunClipboardKeeper(int& argc, char** argv) {
    const std::optional<QByteArray> text = ReadStandardInput();
    if (!text)
        return 1;
    QGuiApplication application(argc, argv);
    if (QGuiApplication::platformName() != u"xcb")
        return 1;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QString::fromUtf8(*text));
    if (!OwnsClipboard())
        return 1;
    QObject::connect(clipboard, &QClipboard::changed, &application, [](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard && !OwnsClipboard())
            QCoreApplication::quit();
    });
    // When the X display goes away, Qt's X11 plugin ends the process.
    return QGuiApplication::exec();
}

void KeepClipboardAfterExit() {
    if (!OwnsClipboard() || CopyOutlivesProgram())
        return;
    MsgBox(u"La copie n'a pas pu être conservée après la fermeture du programme : elle est "
           u"perdue.",
           vbCritical, FromQString(QCoreApplication::applicationName()));
}

} // namespace forms
