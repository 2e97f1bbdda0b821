#include "desktop/plugin_lockdown.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

namespace desktop {

// Qt adds the program's folder to the plugin folders when the application object is made, and
// a list set earlier only takes away folders that Qt already knew. So the folder is named in
// QT_PLUGIN_PATH while Qt first reads that variable, and the list set leaves it out.
void LoadPluginsOnlyFromTheSystem() {
    const QByteArray givenPath = qgetenv("QT_PLUGIN_PATH");
    const QString programFolder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    QStringList withProgramFolder =
        QString::fromLocal8Bit(givenPath).split(u':', Qt::SkipEmptyParts);
    withProgramFolder.append(programFolder);
    qputenv("QT_PLUGIN_PATH", withProgramFolder.join(u':').toLocal8Bit());

    QStringList trusted = QCoreApplication::libraryPaths();
    trusted.removeAll(programFolder);
    QCoreApplication::setLibraryPaths(trusted);

    if (givenPath.isNull())
        qunsetenv("QT_PLUGIN_PATH");
    else
        qputenv("QT_PLUGIN_PATH", givenPath);
}

} // namespace desktop
