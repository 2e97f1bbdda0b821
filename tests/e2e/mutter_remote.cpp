// Drives a headless mutter through its remote-desktop interface, for the end-to-end tests.
//
// Usage: mutter_remote hold         keeps a keyboard on the seat until killed
//        mutter_remote key KEYSYM   presses and releases the key (an X keysym, 0xff0d is Enter)
//        mutter_remote paste        prints the clipboard's text
#include <QCoreApplication>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusUnixFileDescriptor>
#include <cstdio>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr char Service[] = "org.gnome.Mutter.RemoteDesktop";

bool Succeeded(const QDBusMessage& reply) {
    if (reply.type() != QDBusMessage::ErrorMessage)
        return true;
    std::fprintf(stderr, "mutter_remote: %s\n", qPrintable(reply.errorMessage()));
    return false;
}

// Copies what the file descriptor gives to the standard output, for 5 s at most.
bool CopyToOutput(int fd) {
    char buffer[4096];
    for (;;) {
        pollfd readable{.fd = fd, .events = POLLIN, .revents = 0};
        if (poll(&readable, 1, 5000) != 1)
            return false;
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count <= 0)
            return count == 0;
        std::fwrite(buffer, 1, count, stdout);
    }
}

bool Paste(QDBusInterface& session) {
    if (!Succeeded(session.call(QStringLiteral("EnableClipboard"), QVariantMap())))
        return false;
    const QDBusReply<QDBusUnixFileDescriptor> data =
        session.call(QStringLiteral("SelectionRead"), QStringLiteral("text/plain;charset=utf-8"));
    if (!data.isValid()) {
        std::fprintf(stderr, "mutter_remote: %s\n", qPrintable(data.error().message()));
        return false;
    }
    return CopyToOutput(data.value().fileDescriptor());
}

bool PressKey(QDBusInterface& session, uint keysym) {
    const QString notify = QStringLiteral("NotifyKeyboardKeysym");
    return Succeeded(session.call(notify, keysym, true)) &&
           Succeeded(session.call(notify, keysym, false));
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QString command = arguments.value(1);

    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusInterface desktop(Service, QStringLiteral("/org/gnome/Mutter/RemoteDesktop"), Service,
                           bus);
    const QDBusReply<QDBusObjectPath> path = desktop.call(QStringLiteral("CreateSession"));
    if (!path.isValid()) {
        std::fprintf(stderr, "mutter_remote: %s\n", qPrintable(path.error().message()));
        return 1;
    }
    QDBusInterface session(Service, path.value().path(),
                           QStringLiteral("org.gnome.Mutter.RemoteDesktop.Session"), bus);
    if (!Succeeded(session.call(QStringLiteral("Start"))))
        return 1;

    bool done = false;
    if (command == u"hold") {
        // mutter adds the session's keyboard to the seat on its first key.
        constexpr uint leftShift = 0xffe1;
        done = PressKey(session, leftShift) && QCoreApplication::exec() == 0;
    } else if (command == u"key") {
        bool valid = false;
        const uint keysym = arguments.value(2).toUInt(&valid, 0);
        done = valid && PressKey(session, keysym);
    } else if (command == u"paste") {
        done = Paste(session);
    }
    session.call(QStringLiteral("Stop"));
    return done ? 0 : 1;
}
