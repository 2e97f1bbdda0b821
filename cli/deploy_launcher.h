#pragma once

#include <string>

// "Open with" for a deployed folder's files: a desktop entry "Lirvane – <folder name>" in the
// user's applications, named after the folder's full path, and the program's icon, which every
// folder's entry shares.
namespace deploy {

// What keeps a desktop file from naming the folder (a native path): its keys hold UTF-8 text.
enum class FolderNameFault { None, ControlCharacter, NotUtf8 };
FolderNameFault FaultOfFolderName(const std::string& folder);

// The folder's full path as `realpath -m` gives it: links resolved as far as the path exists.
std::string FullPath(const std::string& given);

// Why no entry can name the folder (a native path); empty when one can.
std::string LauncherRefusal(const std::string& folder);

// Writes the folder's entry and the icon; the entry's path. Throws std::system_error.
std::string WriteLauncher(const std::string& folder, const std::string& icon);

// Removes the entry for the folder as given, and the icon once no entry is left; says what it
// did. Throws std::system_error.
void RemoveLauncher(const std::string& givenFolder);

} // namespace deploy
