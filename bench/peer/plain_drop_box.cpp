#include "peer/plain_drop_box.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTextCursor>
#include <QUrl>

void PlainDropBox::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void PlainDropBox::dragMoveEvent(QDragMoveEvent* event) {
    event->acceptProposedAction();
}

void PlainDropBox::dropEvent(QDropEvent* event) {
    QStringList lines;
    for (const QUrl& url : event->mimeData()->urls())
        lines.push_back(url.toLocalFile());
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    if (!document()->isEmpty())
        end.insertBlock();
    end.insertText(lines.join(QLatin1Char('\n')));
    event->acceptProposedAction();
}
