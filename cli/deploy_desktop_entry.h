#pragma once

#include <string>

namespace deploy {

// The desktop entry that runs FOLDER/lirvane on the chosen file, for a folder (a native path in
// UTF-8, without control characters).
std::string DesktopEntry(const std::string& folder);

// A desktop entry's string value: backslashes escaped.
std::string EntryString(const std::string& value);

// One argument of a desktop entry's Exec line: quoted, with the characters that stay special
// inside quotes escaped, "%" doubled; then escaped once more as a string value.
std::string ExecArgument(std::string value);

} // namespace deploy
