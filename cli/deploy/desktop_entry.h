#pragma once

#include <string>

// The text of desktop entries (the launcher, and the menu entries written in the same format).
namespace deploy {

// The text with each `character` replaced.
std::string Replaced(const std::string& text, char character, const std::string& replacement);

// A string value: backslashes escaped.
std::string EntryString(const std::string& value);

// One argument of an Exec line: quoted, the characters that stay special inside quotes escaped,
// "%" doubled; then escaped once more as a string value.
std::string ExecArgument(std::string value);

// The launcher "Lirvane – <folder name>" that runs FOLDER/lirvane on the chosen file, for a
// folder (a native path in UTF-8, without control characters).
std::string LauncherEntry(const std::string& folder);

} // namespace deploy
