#include "forms/dropped_files.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

enum class Carried { Files, Text };

void Carry(QMimeData& data, Carried what) {
    if (what == Carried::Files)
        data.setUrls({QUrl::fromLocalFile(QStringLiteral("/srv/www/a.txt"))});
    else
        data.setText(QStringLiteral("/srv/www/a.txt"));
}

struct DragCase {
    const char* what;
    Carried entering;
    Carried moving; // what the data carries by the time the drag moves
    bool moveAccepted;
};

// A drag is judged once, as it enters: its data is not converted again on every move.
TEST(FileDropFilterTest, MovesRepeatTheAnswerGivenOnEntering) {
    const DragCase cases[] = {
        {"files", Carried::Files, Carried::Files, true},
        {"files, then text", Carried::Files, Carried::Text, true},
        {"text, then files", Carried::Text, Carried::Files, false},
        {"text", Carried::Text, Carried::Text, false},
    };
    QWidget control;
    forms::FileDropFilter filter(control);
    for (const DragCase& c : cases) {
        SCOPED_TRACE(c.what);
        QMimeData data;
        Carry(data, c.entering);
        const QPoint at(5, 5);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&control, &enter);
        EXPECT_EQ(enter.isAccepted(), c.entering == Carried::Files);

        QMimeData moved;
        Carry(moved, c.moving);
        QDragMoveEvent move(at, Qt::CopyAction, &moved, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&control, &move);
        EXPECT_EQ(move.isAccepted(), c.moveAccepted);
    }
}

struct ActionCase {
    const char* what;
    Qt::DropActions offered;
    Qt::KeyboardModifiers keys; // Shift makes Qt propose a move, Alt a link
    bool accepted;
    Qt::DropAction taken;
};

// Whatever the source proposes, the drag and the drop tell it that its files were copied (or
// linked), never moved; a source that offers nothing but a move is refused.
TEST(FileDropFilterTest, DropsTakeACopyNeverAMove) {
    const Qt::DropActions all = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    const ActionCase cases[] = {
        {"copy", Qt::CopyAction, Qt::NoModifier, true, Qt::CopyAction},
        {"copy or move, move proposed", Qt::CopyAction | Qt::MoveAction, Qt::ShiftModifier, true,
         Qt::CopyAction},
        {"every action, move proposed", all, Qt::ShiftModifier, true, Qt::CopyAction},
        {"every action, link proposed", all, Qt::AltModifier, true, Qt::CopyAction},
        {"link only", Qt::LinkAction, Qt::NoModifier, true, Qt::LinkAction},
        {"move or link, move proposed", Qt::MoveAction | Qt::LinkAction, Qt::NoModifier, true,
         Qt::LinkAction},
        {"move only", Qt::MoveAction, Qt::NoModifier, false, Qt::IgnoreAction},
    };
    QWidget control;
    forms::FileDropFilter filter(control);
    for (const ActionCase& c : cases) {
        SCOPED_TRACE(c.what);
        QMimeData data;
        Carry(data, Carried::Files);
        const QPoint at(5, 5);
        QDragEnterEvent enter(at, c.offered, &data, Qt::LeftButton, c.keys);
        QDragMoveEvent move(at, c.offered, &data, Qt::LeftButton, c.keys);
        QDropEvent drop(at, c.offered, &data, Qt::LeftButton, c.keys);
        QDropEvent* const events[] = {&enter, &move, &drop};
        for (QDropEvent* event : events) {
            SCOPED_TRACE(event->type());
            QApplication::sendEvent(&control, event);
            EXPECT_EQ(event->isAccepted(), c.accepted);
            if (c.accepted) {
                EXPECT_EQ(event->dropAction(), c.taken);
            }
        }
    }
}

} // namespace
