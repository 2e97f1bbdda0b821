#pragma once

#include <string>

// "Open with" for a deployed folder's files: a desktop entry "Lirvane – <folder name>" in the
// user's applications, named after the folder's full path, and the program's icon, which every
// folder's entry shares.
namespace deploy {

// Why no entry can name the folder (a native path); empty when one can.
std::string LauncherRefusal(const std::string& folder);

// Writes the folder's entry and the icon; the entry's path. Throws std::system_error.
std::string WriteLauncher(const std::string& folder, const std::string& icon);

// Removes the entry for the folder as given, and the icon once no entry is left; says what it
// did. Throws std::system_error.
void RemoveLauncher(const std::string& givenFolder);

} // namespace deploy
