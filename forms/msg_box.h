#pragma once

#include <functional>
#include <string>

namespace forms {

// Message box flags: the icon, with a single OK button.
inline constexpr int vbCritical = 16;
inline constexpr int vbInformation = 64;

// Shows a modal message box and returns when the user has closed it.
void MsgBox(const std::u16string& text, int flags, const std::u16string& title);

// Tests take every message box here instead of a modal dialog; an empty handler restores the
// real dialog.
using MsgBoxHandler =
    std::function<void(const std::u16string& text, int flags, const std::u16string& title)>;
void SetMsgBoxHandler(MsgBoxHandler handler);

} // namespace forms
