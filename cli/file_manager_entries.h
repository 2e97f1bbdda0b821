#pragma once

#include "cli/thunar_actions.h"

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

// "Copier l'adresse web" in the file managers' menus: each file manager's own place and format
// for an entry that runs lirvane-address on the chosen files of a deployed folder.
namespace deploy {

// Where the user's file managers read their entries from (the XDG base folders).
struct UserFolders {
    std::filesystem::path dataHome;
    std::filesystem::path configHome;
    // The system's configuration folders, the first first.
    std::vector<std::filesystem::path> configDirs;
};

UserFolders CurrentUserFolders();

// What the entries run (lirvane-address, by its absolute path) on the files of which folder
// (full path, UTF-8 without control characters).
struct EntryTarget {
    std::string folder;
    std::string addressCommand;
};

// An entry that is a file of its own. The file holds `mark`, a line that names the folder: a
// file without it is the user's, never replaced or removed.
struct EntryFile {
    std::filesystem::path path;
    std::string content;
    mode_t mode = 0644;
    std::string mark;
};

// The entries of Nautilus, Caja, Nemo, Dolphin and PCManFM for the folder.
std::vector<EntryFile> EntryFiles(const UserFolders& folders, const EntryTarget& target);

// Thunar's: one action in its actions file.
ThunarAction ThunarEntry(const EntryTarget& target);
std::filesystem::path ThunarActionsFile(const UserFolders& folders);
// The system's actions file that Thunar reads while the user has none; empty when none.
std::filesystem::path SystemThunarActionsFile(const UserFolders& folders);

} // namespace deploy
