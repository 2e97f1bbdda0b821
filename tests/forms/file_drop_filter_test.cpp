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

} // namespace
