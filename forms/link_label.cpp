#include "forms/link_label.h"

#include "forms/focus_frame.h"
#include "forms/qt_text.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace forms {

LinkLabel::LinkLabel(QWidget* parent, const std::u16string& caption)
    : QLabel(ToQString(caption), parent) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A click opens the link without taking the focus from the control that has it.
    setFocusPolicy(Qt::TabFocus);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Click();
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        event->accept();
        emit Click();
        break;
    default:
        QLabel::keyPressEvent(event);
    }
}

void LinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (hasFocus())
        PaintFocusFrame(*this, rect());
}

} // namespace forms
