#pragma once

#include "cli/deploy/changes.h"
#include "cli/deploy/user_places.h"

#include <filesystem>
#include <string>

// "Open with" for a deployed folder's files: a desktop entry "Lirvane – <folder name>" in the
// user's applications, named after the folder's full path, and the program's icon, which every
// folder's entry shares.
namespace deploy {

struct Launcher {
    std::filesystem::path entry;
    std::filesystem::path icon;
};

// Where the folder's launcher and the icon go. Throws Refusal when the folder cannot be named
// in an entry or the user has no home.
Launcher LauncherOf(const UserPlaces& places, const std::string& folder);

// Adds the changes that write the launcher and the icon, a copy of `icon`.
void AddLauncher(Changes& changes, const Launcher& launcher, const std::string& folder,
                 const std::filesystem::path& icon);

// Removes the launcher of the folder as given, and the icon once no launcher is left; says what
// it did. Throws FileError, or Refusal.
void RemoveLauncher(const std::string& givenFolder);

// Menus read the entries' cache where the desktop keeps one; it is a help, not a need.
void RefreshDesktopDatabase(const Launcher& launcher);

} // namespace deploy
