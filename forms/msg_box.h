#pragma once

#include <functional>
#include <string>

namespace forms {

// Message box flags: the buttons, added to the icon. A box has the one button OK unless it
// asks Yes or No, Yes being the default.
inline constexpr int vbYesNo = 4;
inline constexpr int vbCritical = 16;
inline constexpr int vbQuestion = 32;
inline constexpr int vbInformation = 64;

// The button that closed the box.
inline constexpr int vbOK = 1;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

// Shows a modal message box and returns, once the user has closed it, the button they chose.
int MsgBox(const std::u16string& text, int flags, const std::u16string& title);

// Tests take every message box here instead of a modal dialog; an empty handler restores the
// real dialog. A question they take is answered as SetNextAnswer says, once, else by its default
// button.
using MsgBoxHandler =
    std::function<void(const std::u16string& text, int flags, const std::u16string& title)>;
void SetMsgBoxHandler(MsgBoxHandler handler);
void SetNextAnswer(int answer);

} // namespace forms
