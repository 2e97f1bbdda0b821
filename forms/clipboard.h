#pragma once

#include <string>

// The system clipboard, plain text only.
namespace forms::Clipboard {

void Clear();
void SetText(const std::u16string& text);
std::u16string GetText();

// Whether the clipboard still holds the text that SetText last put there and nothing, this
// process included, has read it since. A Wayland compositor that keeps copies reads it when
// it is offered.
bool HoldsUnreadText();

} // namespace forms::Clipboard
