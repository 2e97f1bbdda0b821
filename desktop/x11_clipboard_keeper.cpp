#include "desktop/x11_clipboard_keeper.h"

#include "desktop/x11_clipboard_owner.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <cerrno>
#include <optional>
#include <unistd.h>

namespace desktop {
namespace {

constexpr char KeeperVariable[] = "LIRVANE_CLIPBOARD_KEEPER";

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

// This executable, even when it was renamed, moved or deleted since it started.
DetachedCommand X11KeeperCommand(const QByteArray& text) {
    DetachedCommand keeper{.program = "/proc/self/exe",
                           .arguments = {QFile::encodeName(QCoreApplication::arguments().value(0))},
                           .input = text};
    keeper.environment.insert(QString::fromLatin1(KeeperVariable), QStringLiteral("1"));
    // It serves this program's X display and is no program of the desktop session.
    keeper.environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    keeper.environment.remove(QStringLiteral("SESSION_MANAGER"));
    return keeper;
}

} // namespace desktop
