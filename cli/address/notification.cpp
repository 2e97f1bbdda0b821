#include "cli/address/notification.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>
#include <cstdlib>
#include <optional>
#include <sys/stat.h>

namespace address {
namespace {

// Without an address or the runtime folder's socket, the bus library would start a bus of its
// own for the display ("autolaunch"): a notification is not worth a new daemon.
bool SessionBusNamed() {
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address != nullptr && *address != '\0') {
        return true;
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat status {};
    return runtime != nullptr && *runtime != '\0' &&
           stat((std::string(runtime) + "/bus").c_str(), &status) == 0 && S_ISSOCK(status.st_mode);
}

} // namespace

void ShowNotification(const std::string& summary, const std::string& body) {
    if (!SessionBusNamed()) {
        return;
    }
    std::optional<QCoreApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "lirvane-address";
        static char* argv[] = {name, nullptr};
        application.emplace(argc, argv);
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // The body may be read as markup: its text is escaped.
    notify << QStringLiteral("lirvane-address") << 0u << QStringLiteral("edit-copy")
           << QString::fromStdString(summary) << QString::fromStdString(body).toHtmlEscaped()
           << QStringList() << QVariantMap() << -1;
    // A service that does not answer within the time is taken as none.
    bus.call(notify, QDBus::Block, 3000);
}

} // namespace address
