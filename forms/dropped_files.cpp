#include "forms/dropped_files.h"

#include "forms/qt_text.h"
#include "settings/program_path.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace forms {

Files DroppedFiles(const QMimeData& data) {
    Files files;
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile())
            files.push_back(mdCode::ToProgramForm(FromQString(url.toLocalFile())));
    }
    return files;
}

FileDropFilter::FileDropFilter(QWidget& control) : QObject(&control) {
    control.setAcceptDrops(true);
    control.installEventFilter(this);
}

bool FileDropFilter::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (event->type() == QEvent::DragEnter)
            dragCarriesFiles_ = !DroppedFiles(*drag->mimeData()).empty();
        if (dragCarriesFiles_)
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::DragLeave:
        return true;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const Files files = DroppedFiles(*drop->mimeData());
        if (files.empty()) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        emit OLEDragDrop(files);
        return true;
    }
    default:
        return false;
    }
}

} // namespace forms
