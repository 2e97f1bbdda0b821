#include "forms/key_down.h"

#include <QKeySequence>

namespace forms {

bool KeptByKeyDown(QKeyEvent& event, const KeyDownHandler& keyDown) {
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    const int pressed = enter ? vbKeyReturn : event.key();
    int keyCode = pressed;
    keyDown(keyCode, event.modifiers());
    if (pressed == 0 || keyCode != 0)
        return false;
    event.accept();
    return true;
}

bool IsCopyKey(int KeyCode, Qt::KeyboardModifiers Shift) {
    const QKeySequence pressed(QKeyCombination(Shift, static_cast<Qt::Key>(KeyCode)));
    return QKeySequence::keyBindings(QKeySequence::Copy).contains(pressed);
}

} // namespace forms
