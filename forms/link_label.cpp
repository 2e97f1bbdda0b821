#include "forms/link_label.h"

#include "forms/focus_frame.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace forms {

LinkLabel::LinkLabel(QWidget* parent, const std::u16string& caption) : Label(parent, caption) {
    // A click opens the link without taking the focus from the control that has it.
    setFocusPolicy(Qt::TabFocus);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    Label::mouseReleaseEvent(event);
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
        Label::keyPressEvent(event);
    }
}

void LinkLabel::paintEvent(QPaintEvent* event) {
    Label::paintEvent(event);
    if (hasFocus())
        PaintFocusFrame(*this, rect());
}

} // namespace forms
