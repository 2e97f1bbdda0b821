#include "desktop/plugin_lockdown.h"

#include "paths/resolved_path.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QStringList>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace desktop {
namespace {

// A folder under the name Qt gives its plugin folders.
QString CanonicalName(const QString& folder) {
    return QDir(folder).canonicalPath();
}

// The program's folder, opened for its name only, whatever bytes that name holds; -1 when it
// cannot be opened.
int OpenProgramFolder() {
    const std::optional<std::string> folder = mdCode::ExecutableFolder();
    return folder ? open(folder->c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC) : -1;
}

} // namespace

// When the application object is made, Qt adds a folder of its own to the plugin folders: the
// program's folder, or the current folder when it cannot name the program's folder. A list set
// earlier only takes away folders that Qt already knew, matched by name. So both folders are
// named in QT_PLUGIN_PATH while Qt first reads that variable, under /proc names that hold no
// ':' (its separator) whatever the folders' names, and the list set leaves them out unless they
// are trusted folders anyway.
void LoadPluginsOnlyFromTheSystem() {
    const QByteArray givenPath = qgetenv("QT_PLUGIN_PATH");
    QStringList trusted;
    for (const QString& folder :
         qEnvironmentVariable("QT_PLUGIN_PATH").split(u':', Qt::SkipEmptyParts))
        trusted.append(CanonicalName(folder));
    trusted.append(CanonicalName(QLibraryInfo::path(QLibraryInfo::PluginsPath)));

    const int programFolder = OpenProgramFolder();
    const QStringList ownFolders = {QStringLiteral("/proc/self/fd/%1").arg(programFolder),
                                    QStringLiteral("/proc/self/cwd")};
    qputenv("QT_PLUGIN_PATH", givenPath + ':' + ownFolders.join(u':').toLatin1());
    QStringList paths = QCoreApplication::libraryPaths();
    for (const QString& folder : ownFolders) {
        const QString name = CanonicalName(folder);
        if (!trusted.contains(name))
            paths.removeAll(name);
    }
    QCoreApplication::setLibraryPaths(paths);
    if (programFolder >= 0)
        close(programFolder);

    if (givenPath.isNull())
        qunsetenv("QT_PLUGIN_PATH");
    else
        qputenv("QT_PLUGIN_PATH", givenPath);
}

} // namespace desktop
