#pragma once

#include <QList>
#include <QStringList>
#include <QUrl>

class QMimeData;
class QWidget;

// Drags data onto a control and drops it there, as the desktop would; true when the control
// took the drop.
bool DropOn(QWidget& control, QMimeData& data);
bool DropOn(QWidget& control, const QList<QUrl>& urls);
bool DropTextOn(QWidget& control, const QString& text);

QList<QUrl> FileUrls(const QStringList& nativePaths);
