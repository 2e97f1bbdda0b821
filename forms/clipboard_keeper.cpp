#include "forms/clipboard_keeper.h"

#include <QClipboard>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryFile>
#include <QTimer>
#include <chrono>
#include <functional>
#include <unistd.h>

namespace forms {
namespace {

using namespace std::chrono_literals;

constexpr char KeeperVariable[] = "LIRVANE_CLIPBOARD_KEEPER";
// The start of every hand-over file's name: a keeper reads and removes no other file.
constexpr char HandOverPrefix[] = "lirvane-clipboard-";

// Long enough for a keeper to start on a busy machine, short enough that a program whose keeper
// failed still ends promptly.
constexpr auto TakeoverLimit = 3s;

bool OnX11() {
    return QGuiApplication::platformName() == u"xcb";
}

bool OwnsClipboard() {
    return QGuiApplication::clipboard()->ownsClipboard();
}

// Runs the action once another program has taken the clipboard, while `context` lives.
void WhenClipboardTaken(const QObject& context, const std::function<void()>& action) {
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::changed, &context, [action] {
        if (!OwnsClipboard())
            action();
    });
}

// The session's runtime folder, private to the user, when there is one.
QString HandOverFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    return QDir::tempPath();
}

// The text in UTF-8, in a new file that only its owner may read.
bool WriteHandOverFile(QTemporaryFile& file, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return file.open() && file.write(bytes) == bytes.size() && file.flush();
}

bool StartKeeper(const QString& handOverFile) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(KeeperVariable), handOverFile);
    // The keeper serves this program's X display and is no program of the desktop session.
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("SESSION_MANAGER"));

    QProcess keeper;
    keeper.setProgram(QCoreApplication::applicationFilePath());
    keeper.setProcessEnvironment(environment);
    // It outlives the program, so it must hold none of its folders, terminals or pipes.
    keeper.setWorkingDirectory(QDir::rootPath());
    keeper.setStandardInputFile(QProcess::nullDevice());
    keeper.setStandardOutputFile(QProcess::nullDevice());
    keeper.setStandardErrorFile(QProcess::nullDevice());
    return keeper.startDetached();
}

// Lets events run until another program owns the clipboard, or the time is up.
void WaitUntilClipboardTakenOver() {
    QEventLoop waiting;
    WhenClipboardTaken(waiting, [&waiting] { waiting.quit(); });
    QTimer::singleShot(TakeoverLimit, &waiting, &QEventLoop::quit);
    waiting.exec();
}

// Only a hand-over file of this user's is taken, whatever the environment names.
bool IsHandOverFile(const QString& fileName) {
    const QFileInfo info(fileName);
    return info.fileName().startsWith(QLatin1String(HandOverPrefix)) && info.isFile() &&
           !info.isSymLink() && info.ownerId() == getuid();
}

// The file's text, and the file removed; nothing when it cannot be read.
std::optional<QString> TakeText(const QString& fileName) {
    if (!IsHandOverFile(fileName))
        return std::nullopt;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    file.remove();
    return QString::fromUtf8(bytes);
}

} // namespace

std::optional<QString> TakeClipboardKeeperFile() {
    if (!qEnvironmentVariableIsSet(KeeperVariable))
        return std::nullopt;
    const QString file = QFile::decodeName(qgetenv(KeeperVariable));
    qunsetenv(KeeperVariable);
    return file;
}

int RunClipboardKeeper(int& argc, char** argv, const QString& file) {
    const std::optional<QString> text = TakeText(file);
    if (!text)
        return 1;
    QGuiApplication application(argc, argv);
    if (!OnX11())
        return 1;
    QGuiApplication::clipboard()->setText(*text);
    if (!OwnsClipboard())
        return 1;
    WhenClipboardTaken(application, &QCoreApplication::quit);
    // When the X display goes away, Qt's X11 plugin ends the process.
    return QGuiApplication::exec();
}

void KeepClipboardAfterExit() {
    if (!OnX11() || !OwnsClipboard())
        return;
    // Removed when this returns: by then the keeper has read it, or never will.
    QTemporaryFile handOver(
        QDir(HandOverFolder()).filePath(QLatin1String(HandOverPrefix) + QStringLiteral("XXXXXX")));
    if (WriteHandOverFile(handOver, QGuiApplication::clipboard()->text()) &&
        StartKeeper(handOver.fileName()))
        WaitUntilClipboardTakenOver();
}

} // namespace forms
