#pragma once

#include <string>

namespace cli {

// Puts the text on the clipboard and sees that it outlives this process, as "Copier et Quitter"
// does: the desktop is joined only now. False when the copy is lost. When no desktop can be
// joined, says so on standard error and ends the process with the status CopyLost.
bool CopyAndKeep(const std::u16string& text, char* programName);

} // namespace cli
