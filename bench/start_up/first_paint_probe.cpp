// Linked into the timed builds of the program and of its minimal peer, never into the program
// users run: once the first window has been painted, prints the monotonic clock in nanoseconds
// and ends the process at once.
#include <QCoreApplication>
#include <QEvent>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

class FirstPaintProbe final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() && !painted_) {
            painted_ = true;
            // Queued: the rest of the window is painted and shown in the same pass.
            QMetaObject::invokeMethod(this, &FirstPaintProbe::ReportAndExit, Qt::QueuedConnection);
        }
        return false;
    }

private:
    static void ReportAndExit() {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec);
        std::fflush(stdout);
        std::_Exit(0);
    }

    bool painted_ = false;
};

void InstallProbe() {
    QCoreApplication::instance()->installEventFilter(
        new FirstPaintProbe(QCoreApplication::instance()));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallProbe)
