#include "desktop/x11_clipboard_keeper.h"

#include "desktop/x11_clipboard_owner.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <cerrno>
#include <optional>
#include <string>
#include <string_view>
#include <sys/prctl.h>
#include <sys/socket.h>
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

// Started through /proc/self/exe, the kernel names the process "exe"; it takes the name of the
// executable it was started as, so that ps, top and pgrep show it as this program.
void TakeProgramName(int argc, char** argv) {
    if (argc < 1)
        return;
    const std::string_view path(argv[0]);
    const std::string name(path.substr(path.rfind('/') + 1));
    prctl(PR_SET_NAME, name.c_str());
}

// This program's first argument as it was given, bytes that need not be text.
QByteArray ProgramArgument() {
    QFile arguments(QStringLiteral("/proc/self/cmdline"));
    arguments.open(QIODevice::ReadOnly);
    return QByteArray(arguments.readAll().constData());
}

// Whether standard input is one end of a socket pair that the parent process made, as
// StartDetached does: a proof that only the process that started this one can give. Nothing is
// read.
bool InputComesFromParent() {
    ucred peer{};
    socklen_t size = sizeof peer;
    return getsockopt(STDIN_FILENO, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.pid > 0 &&
           peer.pid == getppid() && peer.uid == getuid();
}

} // namespace

bool TakeClipboardKeeperMode() {
    if (!qEnvironmentVariableIsSet(KeeperVariable))
        return false;
    qunsetenv(KeeperVariable);
    return InputComesFromParent();
}

int RunClipboardKeeper(int& argc, char** argv) {
    TakeProgramName(argc, argv);
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
    DetachedCommand keeper{
        .program = "/proc/self/exe", .arguments = {ProgramArgument()}, .input = text};
    keeper.environmentChanges.insert(KeeperVariable, "1");
    // It serves this program's X display and is no program of the desktop session.
    keeper.environmentChanges.insert("QT_QPA_PLATFORM", "xcb");
    keeper.environmentChanges.insert("SESSION_MANAGER", std::nullopt);
    return keeper;
}

} // namespace desktop
