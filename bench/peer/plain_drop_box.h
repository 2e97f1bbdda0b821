#pragma once

#include <QPlainTextEdit>

// The yardstick for the program's drops: what a plain Qt program does with dropped files. It
// accepts any drag that carries URLs, and a drop appends the local path of each as a line, all
// in one go.
class PlainDropBox final : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
