#pragma once

#include <QKeyEvent>
#include <functional>

namespace forms {

// Key code of Enter (either Enter key) in KeyDown; other keys report their Qt key code.
inline constexpr int vbKeyReturn = 13;

// A control's KeyDown(KeyCode, Shift), before the control handles the key. Returns whether
// the handler kept the key from the control by setting the key code to 0.
using KeyDownHandler = std::function<void(int& KeyCode, Qt::KeyboardModifiers Shift)>;
bool KeptByKeyDown(QKeyEvent& event, const KeyDownHandler& keyDown);

// Whether the key code and modifiers are the desktop's copy keys (Ctrl+C and the like).
bool IsCopyKey(int KeyCode, Qt::KeyboardModifiers Shift);

} // namespace forms
