#pragma once

#include <string>

namespace address {

// Puts the text on the clipboard and sees that it outlives this process, as "Copier et Quitter"
// does: the desktop is joined only now. False when the copy is lost. When no desktop can be
// joined, says so on standard error and ends the process with `statusWithoutDesktop`. Qt's own
// warnings, in English, are not shown: the command says in French what went wrong.
bool CopyAndKeep(const std::u16string& text, char* programName, int statusWithoutDesktop);

} // namespace address
