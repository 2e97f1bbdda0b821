#include "support/drop_events.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

bool DropOn(QWidget& control, QMimeData& data) {
    const QPoint centre = control.rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&control, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&control, &drop);
    return drop.isAccepted();
}

bool DropOn(QWidget& control, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    return DropOn(control, data);
}

bool DropTextOn(QWidget& control, const QString& text) {
    QMimeData data;
    data.setText(text);
    return DropOn(control, data);
}

QList<QUrl> FileUrls(const QStringList& nativePaths) {
    QList<QUrl> urls;
    for (const QString& path : nativePaths)
        urls.push_back(QUrl::fromLocalFile(path));
    return urls;
}
