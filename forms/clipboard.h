#pragma once

#include <string>

// The system clipboard, plain text only.
namespace forms::Clipboard {

void Clear();
void SetText(const std::u16string& text);
std::u16string GetText();

} // namespace forms::Clipboard
